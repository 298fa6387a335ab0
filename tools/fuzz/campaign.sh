#!/usr/bin/env bash
# A fuzzing campaign over every libFuzzer target of the native build:
#
#   tools/fuzz/campaign.sh [seconds-per-target [target...]]   (default 1800, every target)
#
# A target stops at whichever comes first: its time, or HV_FUZZ_RUNS
# executions (default ten million). HV_FUZZ_NICE sets the priority (default
# 19, the lowest; a campaign beside other work may want more).
#
# Each target starts from its seeds (tests/fuzz/seeds/<target>) and its kept
# corpus (tests/fuzz/corpus/<target>), with its dictionary where the format
# has keywords (tests/fuzz/dict/<target>.dict), and runs at the lowest
# priority. Afterwards the kept corpus is minimised again over everything
# found, seeds left out, so that it stays small; CI runs seeds and corpus.
# Crashing inputs are left in build/fuzz-campaign/<target>/. Prints one row
# per target: executions, executions per second, coverage features, new
# inputs, crashes. Exits non-zero when any target crashed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-1800}
runs=${HV_FUZZ_RUNS:-10000000}
niceness=${HV_FUZZ_NICE:-19}
# Inputs larger than this are not kept: the corpus stays small enough for
# the repository and for CI's short run over it.
max_len=4096
build=${HV_NATIVE_BUILD:-$root/build/native}
out=$root/build/fuzz-campaign
targets=(topic_index_fuzz bmp_fuzz layout_fuzz css_fuzz pcx_fuzz html_fuzz)
# Any target added later is found by its name.
for bin in "$build"/tests/fuzz/*_fuzz; do
  name=$(basename "$bin")
  [[ " ${targets[*]} " == *" $name "* ]] || targets+=("$name")
done
# Targets named after the time run alone, as after a fix.
if [ $# -gt 1 ]; then
  targets=("${@:2}")
fi

if [ ! -x "$build/tests/fuzz/${targets[0]}" ]; then
  source "$root/scripts/lib.sh"
  hv_configure_native "$build"
  nice -n 19 cmake --build "$build" --target "${targets[@]}" -- -j1
fi

# keep_minimal target seeds kept work scratch: merges seeds, kept and work
# into the smallest set with their coverage, then keeps in `kept` what is
# not a seed.
keep_minimal() {
  local bin=$1 seeds=$2 kept=$3 work=$4 scratch=$5 f s
  local pool=$scratch/pool fresh=$scratch/kept
  rm -rf "$pool" "$fresh"
  mkdir -p "$pool" "$fresh"
  find "$kept" "$work" -type f -size -$((max_len + 1))c -exec cp -t "$pool" {} + 2>/dev/null || true
  nice -n 19 "$bin" -merge=1 -rss_limit_mb=2048 -timeout=10 "$fresh" "$seeds" "$pool" >"$scratch/merge.log" 2>&1 || true
  for f in "$fresh"/*; do
    [ -e "$f" ] || continue
    for s in "$seeds"/*; do cmp -s "$f" "$s" && { rm -f "$f"; break; }; done
  done
  rm -rf "$kept"
  mkdir -p "$kept"
  cp "$fresh"/* "$kept"/ 2>/dev/null || true
}

rows=()
crashed=0
for name in "${targets[@]}"; do
  bin=$build/tests/fuzz/$name
  [ -x "$bin" ] || { echo "missing target $bin" >&2; crashed=1; continue; }
  seeds=$root/tests/fuzz/seeds/${name%_fuzz}
  kept=$root/tests/fuzz/corpus/$name
  work=$out/$name/work
  rm -rf "$out/$name"
  mkdir -p "$work" "$kept"
  dict=()
  [ -f "$root/tests/fuzz/dict/$name.dict" ] && dict=(-dict="$root/tests/fuzz/dict/$name.dict")
  log=$out/$name/fuzz.log
  echo "== $name: ${seconds}s" >&2
  nice -n "$niceness" env ASAN_OPTIONS=detect_leaks=1 "$bin" -max_total_time="$seconds" -runs="$runs" -rss_limit_mb=2048 -timeout=10 \
    -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$out/$name/" "${dict[@]}" \
    "$work" "$kept" "$seeds" >"$log" 2>&1 || true
  execs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n1)
  rate=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+).*/\1/p' "$log" | tail -n1)
  found=$(sed -nE 's/^stat::new_units_added: *([0-9]+).*/\1/p' "$log" | tail -n1)
  features=$(grep -oE 'ft: [0-9]+' "$log" | tail -n1 | grep -oE '[0-9]+' || true)
  crashes=$(find "$out/$name" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  [ "$crashes" -eq 0 ] || crashed=1
  # The kept corpus again: the fewest inputs that reach everything found,
  # seeds included in the reckoning but not kept twice.
  keep_minimal "$bin" "$seeds" "$kept" "$work" "$out/$name"
  rows+=("$(printf '%-18s %12s %8s %9s %6s %7s %6s' "$name" "${execs:-?}" "${rate:-?}" "${features:-?}" \
    "${found:-?}" "$crashes" "$(find "$kept" -type f | wc -l)")")
done

printf '%-18s %12s %8s %9s %6s %7s %6s\n' target executions exec/s features new crashes kept
printf '%s\n' "${rows[@]}"
exit $crashed
