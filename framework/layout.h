#pragma once
// The text of stored layouts: a parser into a plain tree and a writer back.
// One block per component:
//
//   object FrmMain: TFrmMain
//     Caption = 'It''s'#13#10'ok'
//     Items.Strings = (
//       'one')
//     object Panel1: TPanel
//     end
//   end
//
// Values are integers (decimal or $hex), floats, strings (quoted pieces and
// #NN character codes, joined by '+' across lines), identifiers, True/False,
// sets [a, b], binary {hex}, string lists ('a' 'b') and collections
// (<item ... end item ... end>). Portable.

#include <string>
#include <string_view>
#include <vector>

#include "framework/properties.h"

namespace hv {

struct TLayoutNode {
  std::string className;
  std::string name;  // empty for unnamed components
  int line = 0;
  std::vector<TLayoutProperty> properties;  // in the order written
  std::vector<TLayoutNode> children;
  bool operator==(const TLayoutNode& other) const;
};

// Limits of what the parser accepts; beyond them it raises EReadError.
constexpr int kMaxLayoutDepth = 64;
constexpr size_t kMaxLayoutSize = size_t{16} << 20;

// Raises EReadError "Line N: ..." naming what was expected and found.
TLayoutNode ParseLayout(std::string_view text);
// Two-space indentation, LF line ends. Raises EWriteError for a tree that
// would not read back the same (invalid names, identifiers or numbers).
std::string FormatLayout(const TLayoutNode& root);

}  // namespace hv
