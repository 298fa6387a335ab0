#include <windows.h>

#include "theme/styles/skinsource.h"

#include <map>
#include <string>
#include <utility>

#include "theme/styles/pcx.h"

namespace hv {
namespace {

std::optional<std::span<const uint8_t>> FindResourceSkin(const char* name) {
  const HMODULE module = GetModuleHandleW(nullptr);
  std::wstring wide(name, name + std::char_traits<char>::length(name));
  HRSRC info = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL global = info ? LoadResource(module, info) : nullptr;
  const void* data = global ? LockResource(global) : nullptr;
  if (!data) return std::nullopt;
  return std::span<const uint8_t>(static_cast<const uint8_t*>(data), SizeofResource(module, info));
}

struct TSkinState {
  TTeSkinLookup lookup;
  std::map<std::string, bool, std::less<>> usable;
};

TSkinState& State() {
  static TSkinState state;
  return state;
}

}  // namespace

TTeSkinLookup SetSkinLookup(TTeSkinLookup lookup) {
  TSkinState& state = State();
  state.usable.clear();
  return std::exchange(state.lookup, std::move(lookup));
}

std::optional<std::span<const uint8_t>> FindSkin(const char* name) {
  const TSkinState& state = State();
  return state.lookup ? state.lookup(name) : FindResourceSkin(name);
}

bool IsSkinUsable(const char* name, int minWidth, int minHeight) {
  TSkinState& state = State();
  if (const auto known = state.usable.find(std::string_view(name)); known != state.usable.end()) return known->second;
  bool usable = false;
  if (const std::optional<std::span<const uint8_t>> bytes = FindSkin(name); bytes && IsWholePcx(*bytes)) {
    const std::optional<PcxLayout> layout = ReadPcxLayout(*bytes);
    usable = layout && layout->width >= minWidth && layout->height >= minHeight;
  }
  state.usable.emplace(name, usable);
  return usable;
}

}  // namespace hv
