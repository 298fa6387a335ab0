// The viewer's top bar as its stored layout makes it: a themed group box
// across the window, linked to the window's engine, painting through Metal
// Luna and plain once the engine is gone.

#include <gtest/gtest.h>
#include <windows.h>

#include "app/frmmain.h"
#include "app/startup.h"
#include "tests/support/win_test.h"
#include "tests/theme/controls/box_test_support.h"
#include "theme/controls/groupbox.h"
#include "theme/core/themeengine.h"

namespace hv::test {
namespace {

class TopBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartViewer(); }
  void SetUp() override {
    form = std::make_unique<TFrmMain>(nullptr);
    form->LoadFromLayout();
    bar = dynamic_cast<TTeThemeGroupBox*>(form->FindComponent("TeThemeGroupBox1"));
    engine = dynamic_cast<TTeThemeEngine*>(form->FindComponent("TeThemeEngine1"));
    form->Show();
    PumpMessages();
  }
  void TearDown() override {
    if (form) ShowWindow(form->Handle(), SW_HIDE);
    form.reset();
  }
  std::unique_ptr<TFrmMain> form;
  TTeThemeGroupBox* bar = nullptr;
  TTeThemeEngine* engine = nullptr;
};

TEST_F(TopBarTest, TheStoredPropertiesAndTheEngineLink) {
  ASSERT_NE(bar, nullptr) << "the top bar is a TTeThemeGroupBox";
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(bar->ThemeEngine(), engine);
  EXPECT_EQ(bar->Parent(), form.get());
  EXPECT_EQ(bar->Align(), TAlign::alTop);
  EXPECT_EQ(bar->Height(), 32);
  EXPECT_EQ(bar->Width(), form->ClientWidth());
  EXPECT_EQ(bar->Caption(), "");
  EXPECT_EQ(bar->CaptionMargin(), 12);
  EXPECT_FALSE(bar->UseCheckBox());
  EXPECT_EQ(bar->CheckBox(), nullptr);
  EXPECT_EQ(bar->CheckBoxAlignment(), ktaLeftJustify);
  EXPECT_EQ(bar->Performance(), kspNoBuffer);
  EXPECT_FALSE(bar->Transparent());
  EXPECT_EQ(bar->TabOrder(), 0);
  EXPECT_EQ(bar->Version(), "3.1.5");
  EXPECT_EQ(bar->ControlCount(), 5) << "the logo and the four buttons";
  wchar_t cls[32] = {};
  GetClassNameW(bar->Handle(), cls, 32);
  EXPECT_STREQ(cls, L"TTeThemeGroupBox");
}

TEST_F(TopBarTest, PaintsThroughMetalLunaAndPlainWithoutTheEngine) {
  ASSERT_NE(bar, nullptr);
  TTeTheme& theme = *engine->Theme();
  ASSERT_EQ(theme.ThemeClass()->GetName(), "MetalLuna");
  const TRect frame = bar->GetFrameRect();
  ASSERT_EQ(frame.left, 3);
  ASSERT_EQ(frame.bottom, 30);
  const int middle = (frame.top + frame.bottom) / 2;
  auto shot = Snapshot(bar->Handle());
  // Right of the buttons nothing covers the bar.
  EXPECT_EQ(shot->At(600, middle), Rgb(theme.GetColor(ktcFace)));
  EXPECT_EQ(shot->At(frame.left, middle), Rgb(theme.GetColor(ktcFrame)));
  EXPECT_EQ(shot->At(frame.right, middle), Rgb(theme.GetColor(ktcFrame)));
  EXPECT_EQ(shot->At(600, frame.bottom), Rgb(theme.GetColor(ktcFrame)));
  EXPECT_EQ(shot->At(600, frame.top), Rgb(theme.GetColor(ktcFrame))) << "no caption: no gap";
  EXPECT_EQ(shot->At(1, middle), Rgb(theme.GetColor(ktcFace)));

  TClassicLook classic;
  engine->Free();
  engine = nullptr;
  EXPECT_EQ(bar->ThemeEngine(), nullptr) << "the removal notification clears the link";
  shot = Snapshot(bar->Handle());
  EXPECT_EQ(shot->At(600, middle), Rgb(ColorToRGB(bar->Color())));
  EXPECT_EQ(shot->At(frame.left, middle), Rgb(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(shot->At(frame.left - 1, middle), Rgb(ColorToRGB(clBtnShadow)));
}

}  // namespace
}  // namespace hv::test
