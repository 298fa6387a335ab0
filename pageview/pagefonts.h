#pragma once
// The GDI side of measuring a page: the fonts of each text style, made once
// and kept, and a measurer the layout asks for text widths through them.
// Each thread that lays pages out has fonts of its own: a font is never
// selected into two device contexts at once.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/gdi.h"
#include "pageview/htmllayout.h"

namespace hv {

class TPageImages;

// A text box's text as it is measured and drawn: a no-break space looks like
// a space, and faces that lack its glyph (Wine's Tahoma) would show a box.
std::wstring DisplayText(std::string_view utf8);

// The fonts of every style met so far, and a memory DC to measure with.
class TPageFonts {
 public:
  TPageFonts();
  TPageFonts(const TPageFonts&) = delete;
  TPageFonts& operator=(const TPageFonts&) = delete;

  HDC Dc() const { return dc_.Get(); }
  const std::wstring& Face() const { return face_; }
  const std::wstring& MonospaceFace() const { return monoFace_; }
  const std::wstring& SerifFace() const { return serifFace_; }
  int Zoom() const { return zoom_; }
  // Every size in percent of its normal size; the fonts made so far go.
  void SetZoom(int percent);
  // `wide` picks a face with Chinese glyphs. Styles that differ only in
  // what a font does not draw (colour, background, visibility) share one.
  HFONT Get(const html::RunStyle& style, bool wide, bool underline);
  // The fonts kept. Pages in many sizes and faces shown one after another
  // would have the cache grow with each: between pages, while none of its
  // fonts is selected anywhere, Trim lets them all go once there are more
  // than kMaxFonts.
  size_t Count() const { return entries_.size(); }
  static constexpr size_t kMaxFonts = 64;
  void Trim();

 private:
  // What tells one font from another.
  struct Key {
    int pixels;
    bool bold, italic, monospace, serif, wide, underline;
    bool operator==(const Key&) const = default;
  };
  struct Entry {
    Key key;
    TFontHandle font;
  };
  TMemoryDC dc_;
  int dpi_ = 96;
  int zoom_ = 100;
  // Faces for plain, preformatted and serif text: the usual Windows ones
  // where the system has them, else the nearest it really has.
  std::wstring face_, monoFace_, serifFace_;
  std::vector<Entry> entries_;
};

// Raised out of a layout whose result nobody wants any more: a newer page
// or width was asked for meanwhile.
struct TLayoutAbandoned {};

class TPageMeasurer : public html::TextMeasurer {
 public:
  explicit TPageMeasurer(TPageFonts& fonts, TPageImages* images = nullptr) : fonts_(fonts), images_(images) {}
  // The layout stops (TLayoutAbandoned) as soon as `latest` no longer holds
  // `ticket`.
  void AbandonWhenStale(const std::atomic<uint64_t>* latest, uint64_t ticket) {
    latest_ = latest;
    ticket_ = ticket;
  }

  TSize ImageSize(std::string_view src) override;
  int TextWidth(std::string_view utf8, const html::RunStyle& style) override;
  // A line must hold both the text face and the Chinese face, since a line
  // of one style may mix them.
  html::FontMetrics Metrics(const html::RunStyle& style) override;

 private:
  void CheckWanted() const {
    if (latest_ && latest_->load(std::memory_order_relaxed) != ticket_) throw TLayoutAbandoned{};
  }
  TPageFonts& fonts_;
  TPageImages* images_;
  const std::atomic<uint64_t>* latest_ = nullptr;
  uint64_t ticket_ = 0;
};

}  // namespace hv
