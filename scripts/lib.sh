# Shared by ./run and ./test: installs what is missing, picks the Windows
# architecture this machine can execute, prepares the Wine prefix and a display.
# Sourced, not executed.

HV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
HV_BUILD="$HV_ROOT/build"

hv_log() { printf '== %s\n' "$*" >&2; }

hv_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

hv_pkg_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Installs only the Debian packages that are not there yet; a machine that has
# everything never touches apt. Wine's own fonts give the windows the Tahoma
# and Marlett that Windows has; without them Wine draws Tahoma with the
# Chinese face and the frame-control glyphs with whatever face it finds.
# DejaVu gives pages a face with serifs and one of fixed pitch.
hv_install_missing() {
  local wanted=(cmake ninja-build g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine wine64 wine32:i386 xvfb x11-utils xauth imagemagick fonts-wqy-zenhei fonts-wine fonts-dejavu-core
    ccache)
  hv_install_packages "${wanted[@]}"
}

# Installs those of the named Debian packages that are not there yet.
hv_install_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    hv_pkg_installed "$pkg" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  hv_log "installing: ${missing[*]}"
  if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    hv_sudo dpkg --add-architecture i386
  fi
  hv_sudo apt-get update -q
  hv_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    --no-install-recommends "${missing[@]}"
}

# The shipped program is 32-bit. Some sandboxed kernels cannot execute 32-bit
# code at all; there the tests and the live run use the 64-bit build of the
# same sources under wine64, and the 32-bit executable is still built.
hv_pick_arch() {
  if [ -n "${HV_ARCH:-}" ]; then return 0; fi
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    HV_ARCH=i686
  else
    HV_ARCH=x86_64
  fi
  export HV_ARCH
}

hv_wine_env() {
  # A private prefix per concurrent user of the build (HV_WINEPREFIX) keeps
  # their windows from fighting over the focus.
  export WINEPREFIX="${HV_WINEPREFIX:-$HV_BUILD/wineprefix-$HV_ARCH}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$HV_ARCH" = i686 ]; then
    export WINEARCH=win32
    HV_WINE=/usr/lib/wine/wine
  else
    export WINEARCH=win64
    HV_WINE=/usr/lib/wine/wine64
    export WINELOADER=$HV_WINE
  fi
  export HV_WINE
}

# Created once: wineboot takes seconds, and the font replacements make the
# CJK button captions render with a face that also has Latin glyphs.
hv_wine_prefix() {
  hv_wine_env
  [ -f "$WINEPREFIX/.hv-ready" ] && { hv_wine_fonts; return 0; }
  hv_log "creating Wine prefix $WINEPREFIX"
  mkdir -p "$HV_BUILD"
  rm -rf "$WINEPREFIX"
  "$HV_WINE" wineboot -i >/dev/null 2>&1 || true
  local face
  for face in "宋体" "SimSun" "新宋体" "NSimSun"; do
    "$HV_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" \
      /t REG_SZ /d "WenQuanYi Zen Hei" /f >/dev/null 2>&1 || true
  done
  "$HV_ROOT/scripts/wineserver-wait.sh"
  hv_wine_fonts
  touch "$WINEPREFIX/.hv-ready"
}

# Debian's Wine does not look in the folder its fonts package fills, so the
# prefix gets copies; Wine reads every font in the Windows font folder.
hv_wine_fonts() {
  local fonts=/usr/share/wine/fonts target="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/tahoma.ttf" ] && [ -d "$target" ] || return 0
  [ -f "$target/tahoma.ttf" ] && return 0
  cp "$fonts"/*.ttf "$target"/
}

HV_XVFB_PID=
# Uses the display there is; otherwise starts Xvfb on a free number and stops
# it when the calling script exits.
hv_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    HV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    trap 'hv_stop_display' EXIT
    return 0
  done
  hv_log "no free display number"; return 1
}

hv_stop_display() {
  if [ -n "$HV_XVFB_PID" ]; then
    "$HV_ROOT/scripts/wineserver-wait.sh" kill
    kill "$HV_XVFB_PID" 2>/dev/null || true
    wait "$HV_XVFB_PID" 2>/dev/null || true
  fi
}

# Compiles go through ccache where it is installed; the base folder, and not
# hashing the build folder into debug builds' keys, make its entries
# reusable across checkouts of the same tree.
hv_launcher() {
  if command -v ccache >/dev/null 2>&1; then
    local launcher="env;CCACHE_BASEDIR=$HV_ROOT;CCACHE_NOHASHDIR=1;ccache"
    printf '%s\n' "-DCMAKE_C_COMPILER_LAUNCHER=$launcher" "-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher"
  fi
}

hv_configure_windows() {
  local arch=$1 dir=$2; shift 2
  if [ ! -f "$dir/build.ninja" ]; then
    # shellcheck disable=SC2046
    cmake -S "$HV_ROOT" -B "$dir" -G Ninja $(hv_launcher) \
      -DCMAKE_TOOLCHAIN_FILE="$HV_ROOT/cmake/mingw-$arch.cmake" \
      -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  fi
}

hv_configure_native() {
  local dir=$1
  if [ ! -f "$dir/build.ninja" ]; then
    # shellcheck disable=SC2046
    cmake -S "$HV_ROOT" -B "$dir" -G Ninja -DHV_NATIVE=ON $(hv_launcher) \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  fi
}
