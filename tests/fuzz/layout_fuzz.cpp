// Stored layouts from arbitrary bytes: the parser either raises EReadError or
// yields a tree that writes and parses back equal; reading into a small
// component family either raises (leaving the root empty) or gives a form
// whose written text reads and writes back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/filer.h"
#include "framework/layout.h"
#include "tests/framework/layout_test_classes.h"

using namespace hv;
using namespace hv::layouttest;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterTestClasses(), true);
  (void)registered;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  try {
    const TLayoutNode tree = ParseLayout(text);
    const std::string written = FormatLayout(tree);
    if (!(ParseLayout(written) == tree)) __builtin_trap();
  } catch (const EReadError&) {
  }

  TTestForm form(nullptr);
  try {
    ReadLayout(text, form);
  } catch (const EReadError&) {
    if (form.ComponentCount() != 0 || form.IsLoading() || form.Panel1 || form.Button1 || form.Menu1)
      __builtin_trap();
    return 0;
  }
  const std::string first = WriteLayout(form);
  TTestForm again(nullptr);
  ReadLayout(first, again);
  if (WriteLayout(again) != first) __builtin_trap();
  return 0;
}
