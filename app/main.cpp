// The help viewer: one window over the topic index beside the executable.

#include <windows.h>

#include "app/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  hv::RunViewer();
  return 0;
}
