#pragma once
// The one off-screen bitmap of the process that frames and controls with a
// shared-buffer painting mode take turns in, each painting into its top-left
// corner and copying the result out before the next paint. It is made empty
// when the theme library starts, gets its pixels at its first use and keeps
// that size until the library ends: paints are strictly sequential on the
// window thread, so nobody may hold it across a message that could paint.

namespace hv {

class TTeBitmap;

// The bitmap, possibly still without pixels.
TTeBitmap& SharedBuffer();
// The bitmap with pixels: (screen width + 500) x (screen height + 500), the
// screen as it was at the first call. A failing allocation raises
// EOutOfResources and leaves the bitmap empty, so that a later call tries
// again.
TTeBitmap& SizedSharedBuffer();
// Makes the empty bitmap (at library start) and frees it (at the end).
void CreateSharedBuffer();
void FreeSharedBuffer();

}  // namespace hv
