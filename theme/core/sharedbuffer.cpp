#include "theme/core/sharedbuffer.h"

#include <windows.h>

#include <memory>

#include "theme/core/tebitmap.h"

namespace hv {

namespace {
std::unique_ptr<TTeBitmap> gSharedBuffer;
}

void CreateSharedBuffer() {
  if (!gSharedBuffer) gSharedBuffer = std::make_unique<TTeBitmap>();
}

void FreeSharedBuffer() { gSharedBuffer.reset(); }

TTeBitmap& SharedBuffer() {
  // Code that runs without the library started (tools, some tests) still
  // gets a buffer; the library's end frees it either way.
  CreateSharedBuffer();
  return *gSharedBuffer;
}

TTeBitmap& SizedSharedBuffer() {
  TTeBitmap& buffer = SharedBuffer();
  if (buffer.Empty()) buffer.SetSize(GetSystemMetrics(SM_CXSCREEN) + 500, GetSystemMetrics(SM_CYSCREEN) + 500);
  return buffer;
}

}  // namespace hv
