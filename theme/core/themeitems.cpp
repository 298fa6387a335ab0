#include "theme/core/themeitems.h"

#include <array>
#include <utility>

namespace hv {

namespace {

// Names of the keys that are neither letters, digits nor function keys, by
// the platform's virtual key codes, as menus have always written them.
constexpr std::array<std::pair<uint8_t, const char*>, 15> kKeyNames = {{
    {0x08, "BkSp"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"}, {0x2D, "Ins"}, {0x2E, "Del"},
}};

std::string KeyName(uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  constexpr uint8_t kF1 = 0x70, kF24 = 0x87;
  if (key >= kF1 && key <= kF24) {
    std::string name(1, 'F');
    name += std::to_string(key - kF1 + 1);
    return name;
  }
  for (const auto& [code, name] : kKeyNames)
    if (code == key) return name;
  return {};
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  const std::string key = KeyName(static_cast<uint8_t>(shortCut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  if (shortCut & kscShift) text += "Shift+";
  if (shortCut & kscCtrl) text += "Ctrl+";
  if (shortCut & kscAlt) text += "Alt+";
  return text + key;
}

}  // namespace hv
