#include "theme/styles/allstyles.h"

#include "theme/styles/flat.h"
#include "theme/styles/highlight.h"
#include "theme/styles/luna.h"
#include "theme/styles/standard.h"

namespace hv {

void RegisterAllStyles() {
  RegisterSkinnedStyles();
  RegisterHighlightStyles();
  RegisterStandardStyles();
  RegisterFlatStyles();
}

}  // namespace hv
