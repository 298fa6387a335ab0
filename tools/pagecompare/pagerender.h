#pragma once
// The whole of a page as the built-in page view shows it, at a given width
// and from top to bottom, written to a PNG: one half of a page comparison
// sheet (pagecompare.sh puts Chromium's rendering beside it).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hv::pagecompare {

// Widths a reader's window can have; heights beyond the cap are cut, since a
// sheet nobody can scroll through shows nothing more.
constexpr int kMinWidth = 100;
constexpr int kMaxWidth = 4000;
constexpr int kDefaultWidth = 800;
constexpr int kDefaultMaxHeight = 8000;
constexpr int kMaxMaxHeight = 30000;

struct RenderRequest {
  std::wstring page;
  std::wstring output;
  int width = kDefaultWidth;
  int maxHeight = kDefaultMaxHeight;
};

// The command line: `<page> <output.png> [--width N] [--max-height N]`.
// Raises EConvertError with a message fit for the user on anything else.
RenderRequest ParseArguments(const std::vector<std::wstring>& args);

// Pixels as 0xRRGGBB, row by row from the top.
struct PageShot {
  int width = 0;
  int height = 0;
  int pageHeight = 0;  // the page's own height, before the cap
  std::vector<uint32_t> pixels;
};

// Lays the page out in a built-in page view `width` pixels wide and paints
// all of it, down to `maxHeight`. Raises EFOpenError when the page cannot be
// read, and the view's own error when it fails to show it.
PageShot RenderPage(const std::wstring& page, int width, int maxHeight);

// Writes the shot as a PNG through the platform's imaging component. The
// file appears whole or not at all: it is written beside its place first.
void SavePng(const PageShot& shot, const std::wstring& file);

}  // namespace hv::pagecompare
