// PageRender <page.htm> <output.png> [--width N] [--max-height N]
// Shows the page in the built-in page view and writes all of it to a PNG.
// Exit code 0 when the PNG is written, 1 for a page or file that failed, 2
// for a wrong command line; the reason goes to the standard error.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "framework/sysutils.h"
#include "tools/pagecompare/pagerender.h"

int wmain(int argc, wchar_t** argv) {
  using namespace hv::pagecompare;
  RenderRequest request;
  try {
    request = ParseArguments(std::vector<std::wstring>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "PageRender: %s\n", e.what());
    return 2;
  }
  try {
    PageShot shot = RenderPage(request.page, request.width, request.maxHeight);
    SavePng(shot, request.output);
    std::printf("%d %d %d\n", shot.width, shot.height, shot.pageHeight);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "PageRender: %s\n", e.what());
    return 1;
  }
}
