#include "theme/frame/workarea.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "framework/forms.h"

namespace hv {
namespace {

TEST(GravitationWorkArea, ATopLevelFormSnapsToTheDesktopWorkAreaAChildToItsParent) {
  TForm owner(nullptr);
  owner.SetFormBorderStyle(TFormBorderStyle::bsNone);
  owner.SetBounds(0, 0, 300, 200);
  RECT desktop{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
  EXPECT_EQ(GravitationWorkArea(owner.Handle()), Rect(desktop.left, desktop.top, desktop.right, desktop.bottom));

  // A form owned by another top-level window is still a top-level window.
  TForm popup(nullptr);
  popup.SetFormBorderStyle(TFormBorderStyle::bsNone);
  popup.SetParentWindow(owner.Handle());
  EXPECT_EQ(GravitationWorkArea(popup.Handle()), Rect(desktop.left, desktop.top, desktop.right, desktop.bottom));

  TForm child(nullptr);
  child.SetFormBorderStyle(TFormBorderStyle::bsNone);
  child.SetParent(&owner);
  child.SetBounds(10, 10, 50, 40);
  EXPECT_EQ(GravitationWorkArea(child.Handle()), Rect(0, 0, 300, 200));
}

}  // namespace
}  // namespace hv
