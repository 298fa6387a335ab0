// The GDI and USER object counter sees what the program makes and frees,
// kind by kind, and only that.

#include "tests/support/gui_objects.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace hv::test {
namespace {

class GuiObjectCounter : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InstallGuiObjectCounter()); }
  long Live(TGuiObjectKind kind) const { return LiveGuiObjects().Of(kind); }
};

TEST_F(GuiObjectCounter, EachKindRisesWhenMadeAndFallsWhenFreed) {
  const TGuiObjectCounts before = LiveGuiObjects();
  const long made = GuiObjectsMade();

  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  LOGFONTW lf{};
  lf.lfHeight = -11;
  HFONT font = CreateFontIndirectW(&lf);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  HRGN region = CreateRectRgn(0, 0, 5, 5);
  HDC memory = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  HMENU menu = CreateMenu();
  HMENU submenu = CreatePopupMenu();
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), L"sub");
  ICONINFO info{TRUE, 0, 0, bitmap, bitmap};
  HICON icon = CreateIconIndirect(&info);
  const BYTE andMask[4 * 4] = {}, xorMask[4 * 4] = {};
  HCURSOR cursor = CreateCursor(GetModuleHandleW(nullptr), 0, 0, 16, 2, andMask, xorMask);
  HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);

  TGuiObjectCounts during = LiveGuiObjects();
  EXPECT_EQ(during.Of(kgoBrush), before.Of(kgoBrush) + 1);
  EXPECT_EQ(during.Of(kgoPen), before.Of(kgoPen) + 1);
  EXPECT_EQ(during.Of(kgoFont), before.Of(kgoFont) + 1);
  EXPECT_EQ(during.Of(kgoBitmap), before.Of(kgoBitmap) + 1);
  EXPECT_EQ(during.Of(kgoRegion), before.Of(kgoRegion) + 1);
  EXPECT_EQ(during.Of(kgoMemoryDC), before.Of(kgoMemoryDC) + 1);
  EXPECT_EQ(during.Of(kgoWindowDC), before.Of(kgoWindowDC) + 1);
  EXPECT_EQ(during.Of(kgoMenu), before.Of(kgoMenu) + 2);
  EXPECT_EQ(during.Of(kgoIcon), before.Of(kgoIcon) + 1);
  EXPECT_EQ(during.Of(kgoCursor), before.Of(kgoCursor) + 1);
  EXPECT_EQ(during.Of(kgoWindow), before.Of(kgoWindow) + 1);
  EXPECT_GE(GuiObjectsMade(), made + 12);
  EXPECT_NE(during, before);

  // The region goes to the window, which frees it itself.
  EXPECT_TRUE(SetWindowRgn(wnd, region, FALSE));
  EXPECT_EQ(Live(kgoRegion), before.Of(kgoRegion));
  DestroyWindow(wnd);
  DestroyCursor(cursor);
  DestroyIcon(icon);
  DestroyMenu(menu);  // takes the submenu with it
  ReleaseDC(nullptr, screen);
  DeleteDC(memory);
  DeleteObject(bitmap);
  DeleteObject(font);
  DeleteObject(pen);
  DeleteObject(brush);
  EXPECT_EQ(LiveGuiObjects(), before) << LiveGuiObjects().Describe() << " / " << before.Describe();
}

TEST_F(GuiObjectCounter, FreesOfForeignOrRefusedHandlesChangeNothing) {
  const TGuiObjectCounts before = LiveGuiObjects();
  // A stock object was never made by the program.
  DeleteObject(GetStockObject(BLACK_BRUSH));
  HBRUSH brush = CreateSolidBrush(0);
  DeleteObject(brush);
  DeleteObject(brush);  // refused the second time
  EXPECT_EQ(LiveGuiObjects(), before);
}

TEST_F(GuiObjectCounter, SelectingADeletedObjectIsCountedAsAFault) {
  const long failed = FailedSelections();
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH brush = CreateSolidBrush(0);
  SelectObject(dc, SelectObject(dc, brush));
  EXPECT_EQ(FailedSelections(), failed);
  DeleteObject(brush);
  SelectObject(dc, brush);
  EXPECT_EQ(FailedSelections(), failed + 1);
  DeleteDC(dc);
}

}  // namespace
}  // namespace hv::test
