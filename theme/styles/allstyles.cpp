#include "theme/styles/allstyles.h"

#include "theme/styles/luna.h"
#include "theme/styles/standard.h"

namespace hv {

void RegisterAllStyles() {
  RegisterSkinnedStyles();
  RegisterStandardStyles();
}

}  // namespace hv
