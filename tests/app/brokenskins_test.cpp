// The viewer's window when a skin of its style is missing or cut short: the
// style answers that it is not available, and the frame and every control
// paint exactly as with no style at all, with no error shown or reported.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/frmmain.h"
#include "app/startup.h"
#include "framework/gdi.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/styles/luna.h"
#include "theme/styles/skinsource.h"
#include "tests/support/win_test.h"

namespace hv {
namespace {

// The resources as the program has them, but for one skin, which is absent
// or the first part of its bytes.
class TBrokenSkin {
 public:
  TBrokenSkin(std::string name, std::optional<size_t> keep) {
    previous_ = SetSkinLookup([this, name = std::move(name), keep](const char* wanted) {
      std::optional<std::span<const uint8_t>> bytes = FindRealSkin(wanted);
      if (name != wanted || !bytes) return bytes;
      if (!keep) return std::optional<std::span<const uint8_t>>{};
      return std::optional{bytes->first(std::min(*keep, bytes->size()))};
    });
  }
  ~TBrokenSkin() { SetSkinLookup(std::move(previous_)); }
  TBrokenSkin(const TBrokenSkin&) = delete;
  TBrokenSkin& operator=(const TBrokenSkin&) = delete;

  static std::optional<std::span<const uint8_t>> FindRealSkin(const char* name) {
    const HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(10));
    HGLOBAL global = info ? LoadResource(module, info) : nullptr;
    if (!global) return std::nullopt;
    return std::span<const uint8_t>(static_cast<const uint8_t*>(LockResource(global)), SizeofResource(module, info));
  }

 private:
  TTeSkinLookup previous_;
};

struct BrokenSkins : ::testing::Test {
  static void SetUpTestSuite() {
    if (!ThemeLibraryStarted()) StartViewer();
  }
  // The viewer's window in the style given, shown and painted, and what the
  // screen shows of it, frame included.
  std::vector<COLORREF> Shown(TTeThemeClass style, bool& rectangular) {
    TFrmMain form(nullptr);
    form.LoadFromLayout();
    auto* engine = dynamic_cast<TTeThemeEngine*>(form.FindComponent("TeThemeEngine1"));
    EXPECT_NE(engine, nullptr);
    if (engine) engine->SelectThemeClass(style);
    form.SetBounds(20, 20, 480, 360);
    form.Show();
    HWND wnd = form.Handle();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::PumpMessages();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    RECT box{};
    rectangular = GetWindowRgn(wnd, region) == ERROR || GetRgnBox(region, &box) == SIMPLEREGION;
    DeleteObject(region);
    RECT r{};
    GetWindowRect(wnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // One transfer from the screen: a pixel at a time takes minutes under Wine.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* argb = static_cast<const COLORREF*>(bits);
    std::vector<COLORREF> pixels(argb, argb + static_cast<size_t>(w) * h);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    ShowWindow(wnd, SW_HIDE);
    return pixels;
  }
};

size_t Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  size_t count = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) count += a[i] != b[i];
  return count;
}

TEST_F(BrokenSkins, EachSkinMissingOrCutShortLeavesItsStyleUnavailable) {
  TTeThemeClass luna = ThemeClassOf<TTeThemeLuna>(), metal = ThemeClassOf<TTeThemeMetalLuna>();
  ASSERT_TRUE(luna->IsThemeAvailable());
  ASSERT_TRUE(metal->IsThemeAvailable());
  for (const char* name : {"XP_MAIN", "XP_MAIN1", "XP_METAL_MAIN", "XP_METAL_MAIN1"}) {
    const size_t size = TBrokenSkin::FindRealSkin(name).value_or(std::span<const uint8_t>{}).size();
    ASSERT_GT(size, 1000u) << name;
    const bool lunas = std::string(name).find("METAL") == std::string::npos;
    // Missing; only the header; half; all but the last palette byte.
    for (std::optional<size_t> keep : {std::optional<size_t>{}, std::optional<size_t>{128}, std::optional{size / 2},
                                       std::optional{size - 1}}) {
      SCOPED_TRACE(std::string(name) + " keeping " + (keep ? std::to_string(*keep) : "nothing"));
      TBrokenSkin broken(name, keep);
      EXPECT_EQ(luna->IsThemeAvailable(), !lunas);
      EXPECT_EQ(metal->IsThemeAvailable(), lunas);
      std::unique_ptr<TTeTheme> made;
      EXPECT_NO_THROW(made = (lunas ? luna : metal)->Create());
    }
    EXPECT_TRUE(luna->IsThemeAvailable()) << "judged again once the skins are back";
    EXPECT_TRUE(metal->IsThemeAvailable());
  }
}

TEST_F(BrokenSkins, TheWindowPaintsItsPlainLookWithoutAnError) {
  bool rectangular = false;
  const std::vector<COLORREF> plain = Shown(ThemeClassOf<TTeTheme>(), rectangular);
  EXPECT_TRUE(rectangular);
  const std::vector<COLORREF> metal = Shown(ThemeClassOf<TTeThemeMetalLuna>(), rectangular);
  EXPECT_FALSE(rectangular) << "Metal Luna rounds the corners";
  ASSERT_GT(Differences(plain, metal), plain.size() / 10) << "the styled window differs from the plain one";
  for (auto [name, style] : {std::pair{"XP_METAL_MAIN", ThemeClassOf<TTeThemeMetalLuna>()},
                             {"XP_METAL_MAIN1", ThemeClassOf<TTeThemeMetalLuna>()},
                             {"XP_MAIN", ThemeClassOf<TTeThemeLuna>()},
                             {"XP_MAIN1", ThemeClassOf<TTeThemeLuna>()}}) {
    const size_t size = TBrokenSkin::FindRealSkin(name).value_or(std::span<const uint8_t>{}).size();
    for (std::optional<size_t> keep : {std::optional<size_t>{}, std::optional{size * 2 / 3}}) {
      SCOPED_TRACE(std::string(name) + (keep ? " cut short" : " missing"));
      TBrokenSkin broken(name, keep);
      EXPECT_EQ(Differences(Shown(style, rectangular), plain), 0u);
      EXPECT_TRUE(rectangular);
    }
  }
  // The fixture's exception check fails the test on any report.
}

}  // namespace
}  // namespace hv
