// The style contract, the style registry, the engine component and the style
// switcher, against real forms and windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "framework/classes.h"
#include "framework/filer.h"
#include "framework/forms.h"
#include "framework/screen.h"
#include "framework/stream.h"
#include "theme/core/colors.h"
#include "theme/core/switcher.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"
#include "theme/core/themelibrary.h"
#include "theme/core/visualstyles.h"
#include "tests/support/win_test.h"

namespace hv {
namespace {

// Stand-ins for the real styles: each answers its registry name, paints,
// and counts how often it was asked to rebuild its colours.
class TFakeStyle : public TTeTheme {
  HV_THEME_CLASS(TFakeStyle, TTeTheme)

 public:
  static bool IsThemeAvailable() { return true; }
  static std::string GetName() { return "Flat"; }
  void UpdateColors() override { ++updates; }
  TColor GetColor(TTeThemeColor kind) const override {
    switch (kind) {
      case ktcWindow: return AdjustColor(0x123456);
      case ktcFace: return AdjustColor(clBtnFace);
      case ktcFrame: return AdjustColor(0x0000FF);
      default: return AdjustColor(kFallbackColor);
    }
  }
  int updates = 0;
};

class TFakeStd : public TFakeStyle {
  HV_THEME_CLASS(TFakeStd, TFakeStyle)

 public:
  static std::string GetName() { return "Advanced"; }
};

class TFakeKDE : public TFakeStyle {
  HV_THEME_CLASS(TFakeKDE, TFakeStyle)

 public:
  static std::string GetName() { return "KDE"; }
};

class TFailingStyle : public TFakeStyle {
  HV_THEME_CLASS(TFailingStyle, TFakeStyle)

 public:
  static std::string GetName() { return "Lines"; }
  TFailingStyle() { throw EOutOfResources("no skin"); }
};

// A component on a form that the refresh walk must find, like a frame.
class TFakeLink : public TComponent, public TTeThemeLink {
  HV_CLASS_NO_PROPERTIES(TFakeLink, TComponent)

 public:
  explicit TFakeLink(TComponent* owner) : TComponent(owner) {}
  TTeThemeEngine* LinkedThemeEngine() const override { return engine; }
  void ThemeEngineChanged(TTeThemeEngine& changed) override {
    ++calls;
    sawName = changed.Theme()->ThemeClass()->GetName();
  }
  TTeThemeEngine* engine = nullptr;
  int calls = 0;
  std::string sawName;
};

std::vector<uint8_t> Block(int32_t length, std::string_view name) {
  std::vector<uint8_t> bytes(4 + name.size());
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));
  for (size_t i = 0; i < name.size(); ++i) bytes[4 + i] = static_cast<uint8_t>(name[i]);
  return bytes;
}

void ReadBlock(TTeThemeEngine& engine, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream(bytes);
  engine.ReadThemeClass(stream);
}

class ThemeEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FinishThemeLibrary();
    StartThemeLibrary();
    SetSysLocaleMiddleEast(false);
  }
  void TearDown() override { FinishThemeLibrary(); }

  // The styles that exist in these tests, at their places, registered in a
  // scrambled order.
  static void RegisterFakes() {
    RegisterThemeClass(ThemeClassOf<TFakeKDE>(), kThemePosKDE);
    RegisterThemeClass(ThemeClassOf<TFakeStyle>(), kThemePosFlat);
    RegisterThemeClass(ThemeClassOf<TFakeStd>(), kThemePosStd);
  }
};

TEST_F(ThemeEngineTest, BaseThemeAnswersNoStyle) {
  TTeTheme theme;
  EXPECT_EQ(theme.DeltaHue(), 0);
  EXPECT_EQ(theme.DeltaBrightness(), 0);
  EXPECT_EQ(theme.BiDiMode(), TBiDiMode::bdLeftToRight);
  EXPECT_EQ(theme.ThemeClass(), ThemeClassOf<TTeTheme>());
  EXPECT_EQ(theme.ThemeClass()->GetName(), "No Theme");
  EXPECT_FALSE(theme.ThemeClass()->IsThemeAvailable());
  EXPECT_EQ(theme.ThemeClass()->ClassName(), "TTeTheme");
  EXPECT_TRUE(theme.HasCaptionShadow());
  EXPECT_EQ(theme.GetFormRegion(100, 100, kbsStandard), nullptr);
  EXPECT_EQ(theme.GetSize(ktsCaption), 0);

  // The virtual constructor makes an object of the referenced class.
  auto made = ThemeClassOf<TFakeStd>()->Create();
  EXPECT_EQ(made->ClassName(), "TFakeStd");
  EXPECT_EQ(made->ThemeClass(), ThemeClassOf<TFakeStd>());
  EXPECT_TRUE(made->ThemeClass()->IsThemeAvailable());
}

TEST_F(ThemeEngineTest, DeltaSettersRebuildColoursOnlyOnChange) {
  TFakeStyle theme;
  theme.SetDeltaHue(0);
  theme.SetDeltaBrightness(0);
  EXPECT_EQ(theme.updates, 0);
  theme.SetDeltaHue(30);
  EXPECT_EQ(theme.updates, 1);
  theme.SetDeltaHue(30);
  EXPECT_EQ(theme.updates, 1);
  theme.SetDeltaBrightness(-5);
  theme.SetDeltaBrightness(-5);
  EXPECT_EQ(theme.updates, 2);
  EXPECT_EQ(theme.DeltaHue(), 30);
  EXPECT_EQ(theme.DeltaBrightness(), -5);
  // The reading order is stored without anything else happening.
  theme.SetBiDiMode(TBiDiMode::bdRightToLeft);
  EXPECT_EQ(theme.BiDiMode(), TBiDiMode::bdRightToLeft);
  EXPECT_EQ(theme.updates, 2);
}

TEST_F(ThemeEngineTest, ColourPipelineResolvesTurnsAndShifts) {
  TFakeStyle theme;
  // No tint: the base colour as plain RGB, system colours resolved.
  EXPECT_EQ(theme.GetColor(ktcWindow), 0x123456);
  EXPECT_EQ(theme.GetColor(ktcFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  // The fallback is negative as a framework colour and resolves like
  // system colour 0.
  EXPECT_EQ(theme.GetColor(ktcDefault), static_cast<TColor>(GetSysColor(COLOR_SCROLLBAR)));
  // A third of the circle turns pure red into pure green.
  theme.SetDeltaHue(85);
  EXPECT_EQ(theme.GetColor(ktcFrame), 0x00FF00);
  // The brightness goes onto each channel with clamping.
  theme.SetDeltaHue(0);
  theme.SetDeltaBrightness(-0x20);
  EXPECT_EQ(theme.GetColor(ktcWindow), 0x001436);
  theme.SetDeltaBrightness(300);
  EXPECT_EQ(theme.GetColor(ktcWindow), 0xFFFFFF);
  theme.SetDeltaHue(85);
  theme.SetDeltaBrightness(-10);
  EXPECT_EQ(theme.GetColor(ktcFrame), AdjustThemeColor(0x0000FF, 85, -10));
  EXPECT_EQ(theme.GetColor(ktcFrame), 0x00F500);
}

TEST_F(ThemeEngineTest, StartTakesTheLiveSystemColours) {
  auto argb = [](int index) {
    const COLORREF c = GetSysColor(index);
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  };
  EXPECT_EQ(ColorToARGB(clBtnFace), argb(COLOR_BTNFACE));
  EXPECT_EQ(ColorToARGB(clHighlight), argb(COLOR_HIGHLIGHT));
  EXPECT_EQ(SharedWindowARGB(), argb(COLOR_WINDOW));
  EXPECT_EQ(SharedFaceARGB(), argb(COLOR_BTNFACE));
  EXPECT_EQ(SharedShadowARGB(), argb(COLOR_BTNSHADOW));
}

TEST_F(ThemeEngineTest, ReadingOrderFlags) {
  constexpr unsigned kVCenter = 36, kCentered = 37, kRight = 38;
  TTeTheme theme;
  theme.SetBiDiMode(TBiDiMode::bdRightToLeft);
  // Without the system's right-to-left support nothing changes.
  EXPECT_EQ(theme.DrawTextBiDiModeFlags(kVCenter), kVCenter);
  EXPECT_EQ(theme.DrawTextBiDiModeFlags(kRight), kRight);
  EXPECT_FALSE(theme.UseRightToLeftReading());

  SetSysLocaleMiddleEast(true);
  EXPECT_TRUE(theme.UseRightToLeftAlignment());
  EXPECT_EQ(theme.DrawTextBiDiModeFlags(kVCenter), kRight | kDtRtlReading);
  EXPECT_EQ(theme.DrawTextBiDiModeFlags(kCentered), kCentered | kDtRtlReading);
  EXPECT_EQ(theme.DrawTextBiDiModeFlags(kRight), kVCenter | kDtRtlReading);

  theme.SetBiDiMode(TBiDiMode::bdRightToLeftReadingOnly);
  EXPECT_FALSE(theme.UseRightToLeftAlignment());
  EXPECT_EQ(theme.DrawTextBiDiModeFlags(kVCenter), kVCenter | kDtRtlReading);
  EXPECT_EQ(theme.DrawTextBiDiModeFlags(kRight), kRight | kDtRtlReading);
  EXPECT_EQ(theme.DrawTextBiDiModeFlagsReadingOnly(), kDtRtlReading);

  theme.SetBiDiMode(TBiDiMode::bdLeftToRight);
  EXPECT_EQ(theme.DrawTextBiDiModeFlags(kVCenter), kVCenter);
  EXPECT_EQ(theme.DrawTextBiDiModeFlagsReadingOnly(), 0u);
}

TEST_F(ThemeEngineTest, RegistryKeepsItsFixedOrderAndFindsExactNames) {
  // Started: only the base class, last of all; a second start adds nothing.
  ASSERT_TRUE(ThemeLibraryStarted());
  StartThemeLibrary();
  ASSERT_EQ(ThemeClassCount(), 1);
  EXPECT_EQ(ThemeClasses(0), ThemeClassOf<TTeTheme>());
  RegisterFakes();
  ASSERT_EQ(ThemeClassCount(), 4);
  EXPECT_EQ(ThemeClasses(0)->GetName(), "Flat");
  EXPECT_EQ(ThemeClasses(1)->GetName(), "Advanced");
  EXPECT_EQ(ThemeClasses(2)->GetName(), "KDE");
  EXPECT_EQ(ThemeClasses(3)->GetName(), "No Theme");
  EXPECT_EQ(ThemeClasses(4), nullptr);
  EXPECT_EQ(ThemeClasses(-1), nullptr);

  EXPECT_EQ(FindThemeClass("Advanced"), ThemeClassOf<TFakeStd>());
  EXPECT_EQ(FindThemeClass("advanced"), nullptr);
  EXPECT_EQ(FindThemeClass("Advanced "), nullptr);
  EXPECT_EQ(FindThemeClass("Standard"), nullptr);
  EXPECT_EQ(FindThemeClass("No Theme"), ThemeClassOf<TTeTheme>());

  // No duplicate check; a class without a place goes at the very end.
  RegisterThemeClass(ThemeClassOf<TFakeStd>(), kThemePosStd);
  RegisterThemeClass(ThemeClassOf<TFailingStyle>());
  ASSERT_EQ(ThemeClassCount(), 6);
  EXPECT_EQ(ThemeClasses(2), ThemeClassOf<TFakeStd>());
  EXPECT_EQ(ThemeClasses(5), ThemeClassOf<TFailingStyle>());

  FinishThemeLibrary();
  EXPECT_FALSE(ThemeLibraryStarted());
  EXPECT_EQ(ThemeClassCount(), 0);
  EXPECT_EQ(FindThemeClass("No Theme"), nullptr);
}

TEST_F(ThemeEngineTest, EndReleasesTheVisualStyleLibraryWhateverItsCount) {
  // A component that loaded the library and never freed it must not keep it
  // past the end of the theme library.
  ASSERT_TRUE(ThemeLibraryStarted());
  LoadVisualStyleLibrary();
  LoadVisualStyleLibrary();
  ASSERT_GE(VisualStyleLibraryRefCount(), 3);
  FinishThemeLibrary();
  EXPECT_EQ(VisualStyleLibraryRefCount(), 0);
  EXPECT_FALSE(VisualStyleLibraryLoaded());
  StartThemeLibrary();
  EXPECT_EQ(VisualStyleLibraryRefCount(), 1);
}

TEST_F(ThemeEngineTest, EngineStartsWithTheBaseTheme) {
  TTeThemeEngine engine(nullptr);
  ASSERT_NE(engine.Theme(), nullptr);
  EXPECT_EQ(engine.Theme()->ClassName(), "TTeTheme");
  EXPECT_FALSE(engine.ThemeAvailable());
  EXPECT_TRUE(engine.ColorAutoChanging());
  EXPECT_EQ(engine.DeltaHue(), 0);
  EXPECT_EQ(engine.DeltaBrightness(), 0);
  EXPECT_EQ(engine.Version(), "3.1.5");
  engine.SetVersion("9.9");
  EXPECT_EQ(engine.Version(), "3.1.5");
}

TEST_F(ThemeEngineTest, ThemeClassBlockSelectsRegisteredStylesOnly) {
  RegisterFakes();
  TTeThemeEngine engine(nullptr);

  // No Metal Luna style exists here: the base theme stays.
  TTeTheme* before = engine.Theme();
  ReadBlock(engine, Block(9, "MetalLuna"));
  EXPECT_EQ(engine.Theme(), before);
  ReadBlock(engine, Block(8, "Standard"));
  EXPECT_EQ(engine.Theme(), before);

  ReadBlock(engine, Block(8, "Advanced"));
  EXPECT_EQ(engine.Theme()->ClassName(), "TFakeStd");

  // The block holds exactly the name, no terminator.
  TMemoryStream out;
  engine.WriteThemeClass(out);
  EXPECT_EQ(out.Bytes(), Block(8, "Advanced"));
}

TEST_F(ThemeEngineTest, BrokenThemeClassBlocksAreIgnored) {
  RegisterFakes();
  TTeThemeEngine engine(nullptr);
  ReadBlock(engine, Block(3, "KDE"));
  TTeTheme* kde = engine.Theme();
  ASSERT_EQ(kde->ClassName(), "TFakeKDE");

  const std::vector<std::vector<uint8_t>> broken = {
      {},                                 // nothing at all
      {8, 0},                             // a short length
      Block(8, "Adva"),                   // a name cut short
      Block(-1, "Advanced"),              // a negative length
      Block(0x7FFFFFFF, "Advanced"),      // a length far beyond the block
      Block(static_cast<int32_t>(0x80000000u), ""),
  };
  for (const auto& bytes : broken) {
    ReadBlock(engine, bytes);
    EXPECT_EQ(engine.Theme(), kde);
  }
  // An empty name is well formed and names nothing.
  ReadBlock(engine, Block(0, ""));
  EXPECT_EQ(engine.Theme(), kde);

  // A style whose creation fails leaves the engine with the one it had.
  RegisterThemeClass(ThemeClassOf<TFailingStyle>(), kThemePosLines);
  ReadBlock(engine, Block(5, "Lines"));
  EXPECT_EQ(engine.Theme(), kde);
  EXPECT_THROW(engine.SelectThemeClass(ThemeClassOf<TFailingStyle>()), EOutOfResources);
  EXPECT_EQ(engine.Theme(), kde);
}

TEST_F(ThemeEngineTest, DeltasWaitForAnAvailableTheme) {
  RegisterFakes();
  TForm form(nullptr);
  TTeThemeEngine engine(&form);
  form.SetColor(clRed);

  // Held by the unavailable base theme: stored, not pushed, no refresh.
  engine.SetDeltaHue(30);
  engine.SetDeltaBrightness(-4);
  EXPECT_EQ(engine.DeltaHue(), 30);
  EXPECT_EQ(engine.Theme()->DeltaHue(), 0);
  EXPECT_EQ(form.Color(), clRed);

  // Selecting a style pushes both, each rebuilding the colours once.
  engine.SelectThemeClass(ThemeClassOf<TFakeKDE>());
  auto* kde = dynamic_cast<TFakeKDE*>(engine.Theme());
  ASSERT_NE(kde, nullptr);
  EXPECT_EQ(kde->DeltaHue(), 30);
  EXPECT_EQ(kde->DeltaBrightness(), -4);
  EXPECT_EQ(kde->updates, 2);
  EXPECT_EQ(form.Color(), AdjustThemeColor(0x123456, 30, -4));

  // An unchanged value does nothing at all: no rebuild, no refresh.
  form.SetColor(clRed);
  engine.SetDeltaHue(30);
  engine.SetDeltaBrightness(-4);
  EXPECT_EQ(kde->updates, 2);
  EXPECT_EQ(form.Color(), clRed);

  // A change is pushed and refreshes at once.
  engine.SetDeltaHue(31);
  EXPECT_EQ(kde->DeltaHue(), 31);
  EXPECT_EQ(kde->updates, 3);
  EXPECT_EQ(form.Color(), AdjustThemeColor(0x123456, 31, -4));

  // While loading it is pushed, but the refresh waits for the style block.
  form.SetColor(clRed);
  engine.BeginLoading();
  engine.SetDeltaBrightness(7);
  EXPECT_EQ(kde->DeltaBrightness(), 7);
  EXPECT_EQ(form.Color(), clRed);
  engine.Loaded();
}

// A style that counts its own end.
class TCountedStyle : public TFakeStyle {
  HV_THEME_CLASS(TCountedStyle, TFakeStyle)

 public:
  static std::string GetName() { return "Counted"; }
  ~TCountedStyle() override { ++freed; }
  static inline int freed = 0;
};

TEST_F(ThemeEngineTest, AStyleReplacedWhilePaintingLivesUntilThePaintingEnds) {
  RegisterFakes();
  TTeThemeEngine engine(nullptr);
  TCountedStyle::freed = 0;
  engine.SetTheme(std::make_unique<TCountedStyle>());
  {
    const TTeThemePainting outer;
    TTeTheme* held = engine.Theme();
    {
      const TTeThemePainting inner;
      engine.SelectThemeClass(ThemeClassOf<TFakeStd>());
      EXPECT_EQ(engine.Theme()->ThemeClass(), ThemeClassOf<TFakeStd>());
    }
    EXPECT_EQ(TCountedStyle::freed, 0) << "an inner painting's end is not the end";
    EXPECT_EQ(TTeThemePainting::RetiredCount(), 1);
    EXPECT_EQ(held->ThemeClass()->GetName(), "Counted");
    // Replaced once more and the engine itself gone, all while painting.
    engine.SetTheme(std::make_unique<TCountedStyle>());
    engine.SetTheme(nullptr);
    EXPECT_EQ(TCountedStyle::freed, 0);
    EXPECT_EQ(TTeThemePainting::RetiredCount(), 3);
  }
  EXPECT_EQ(TCountedStyle::freed, 2);
  EXPECT_EQ(TTeThemePainting::RetiredCount(), 0);
  EXPECT_FALSE(TTeThemePainting::Active());
  // Outside any painting a replaced style goes at once.
  engine.SetTheme(std::make_unique<TCountedStyle>());
  engine.SetTheme(nullptr);
  EXPECT_EQ(TCountedStyle::freed, 3);
  {
    auto owned = std::make_unique<TTeThemeEngine>(nullptr);
    owned->SetTheme(std::make_unique<TCountedStyle>());
    const TTeThemePainting painting;
    owned.reset();
    EXPECT_EQ(TCountedStyle::freed, 3) << "an engine freed during painting leaves its style to the painting";
  }
  EXPECT_EQ(TCountedStyle::freed, 4);
}

TEST_F(ThemeEngineTest, RefreshRecoloursFormsOnlyWhenAsked) {
  RegisterFakes();
  TForm form(nullptr);
  TForm other(nullptr);
  TTeThemeEngine engine(&form);
  form.SetColor(clRed);
  other.SetColor(clYellow);

  engine.SetColorAutoChanging(false);
  engine.UpdateThemedForms();
  EXPECT_EQ(form.Color(), clRed);
  EXPECT_EQ(other.Color(), clYellow);

  // Every form of the screen, not only the engine's own.
  engine.SetColorAutoChanging(true);
  engine.UpdateThemedForms();
  EXPECT_EQ(form.Color(), clBtnFace);
  EXPECT_EQ(other.Color(), clBtnFace);

  engine.SelectThemeClass(ThemeClassOf<TFakeStd>());
  EXPECT_EQ(form.Color(), 0x123456);
  EXPECT_EQ(other.Color(), 0x123456);

  // At design time the forms keep the plain face.
  engine.SetDesigning(true);
  engine.UpdateThemedForms();
  EXPECT_EQ(form.Color(), clBtnFace);
}

TEST_F(ThemeEngineTest, RefreshReachesLinksOfThisEngineOnly) {
  RegisterFakes();
  TForm form(nullptr);
  TTeThemeEngine engine(&form);
  TTeThemeEngine otherEngine(nullptr);
  auto* mine = TComponent::Create<TFakeLink>(&form);
  auto* theirs = TComponent::Create<TFakeLink>(&form);
  mine->engine = &engine;
  theirs->engine = &otherEngine;

  engine.SelectThemeClass(ThemeClassOf<TFakeKDE>());
  EXPECT_EQ(mine->calls, 1);
  EXPECT_EQ(mine->sawName, "KDE");
  EXPECT_EQ(theirs->calls, 0);

  // A class that is not registered keeps the style but still pushes the
  // deltas and refreshes.
  auto fresh = std::make_unique<TFakeStd>();
  TTeTheme* held = fresh.get();
  engine.SetDeltaHue(12);
  engine.SetTheme(std::move(fresh));
  EXPECT_EQ(held->DeltaHue(), 0);
  int calls = mine->calls;
  engine.SelectThemeClass(ThemeClassOf<TFailingStyle>());
  EXPECT_EQ(engine.Theme(), held);
  EXPECT_EQ(held->DeltaHue(), 12);
  EXPECT_EQ(mine->calls, calls + 1);
  engine.SelectThemeClass(nullptr);
  EXPECT_EQ(engine.Theme(), held);
  EXPECT_EQ(mine->calls, calls + 2);
}

TEST_F(ThemeEngineTest, MdiClientIsInvalidatedOnRefresh) {
  TForm form(nullptr);
  form.SetFormStyle(TFormStyle::fsMDIForm);
  form.SetBounds(10, 10, 300, 200);
  form.Show();
  test::PumpMessages();
  HWND client = form.ClientHandle();
  ASSERT_NE(client, nullptr);
  UpdateWindow(client);
  RECT update;
  ASSERT_FALSE(GetUpdateRect(client, &update, FALSE));

  TTeThemeEngine engine(&form);
  engine.UpdateThemedForms();
  ASSERT_TRUE(GetUpdateRect(client, &update, FALSE));
  RECT clientRect;
  GetClientRect(client, &clientRect);
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, 0);
  EXPECT_EQ(update.right, clientRect.right);
  EXPECT_EQ(update.bottom, clientRect.bottom);
  form.Close();
}

TEST_F(ThemeEngineTest, LayoutStoresPropertiesInOrderAndReadsThemBack) {
  RegisterClasses<TTeThemeEngine>();
  TForm form(nullptr);
  form.SetName("Form1");
  auto* engine = TComponent::Create<TTeThemeEngine>(&form);
  engine->SetName("TeThemeEngine1");

  TLayoutNode root = TWriter::ToLayout(form);
  ASSERT_EQ(root.children.size(), 1u);
  const TLayoutNode& node = root.children[0];
  EXPECT_EQ(node.className, "TTeThemeEngine");
  std::vector<std::string> names;
  for (const auto& p : node.properties) names.push_back(p.name);
  EXPECT_EQ(names, (std::vector<std::string>{"ColorAutoChanging", "DeltaBrightness", "DeltaHue", "Version",
                                             "ThemeClass"}));
  EXPECT_EQ(node.properties[0].value, TValue(true));
  EXPECT_EQ(node.properties[1].value, TValue(int64_t{0}));
  EXPECT_EQ(node.properties[3].value, TValue(std::string("3.1.5")));
  EXPECT_EQ(node.properties[4].value, TValue(TBinary{Block(8, "No Theme")}));

  // Reading back selects the base class again, the last registry entry.
  std::string text = WriteLayout(form);
  TForm copy(nullptr);
  ReadLayout(text, copy);
  auto* read = dynamic_cast<TTeThemeEngine*>(copy.FindComponent("TeThemeEngine1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Theme()->ThemeClass(), ThemeClassOf<TTeTheme>());
  EXPECT_TRUE(read->ColorAutoChanging());
}

TEST_F(ThemeEngineTest, LoadingAStoredStylePushesStoredDeltasAndRefreshesAtOnce) {
  RegisterClasses<TTeThemeEngine>();
  RegisterFakes();
  TForm form(nullptr);
  form.SetName("Form1");
  auto* engine = TComponent::Create<TTeThemeEngine>(&form);
  engine->SetName("TeThemeEngine1");
  engine->SetColorAutoChanging(false);
  engine->SelectThemeClass(ThemeClassOf<TFakeStd>());
  engine->SetDeltaHue(40);
  engine->SetDeltaBrightness(-3);
  std::string text = WriteLayout(form);
  EXPECT_NE(text.find("ThemeClass"), std::string::npos);

  TForm copy(nullptr);
  copy.SetColor(clRed);
  ReadLayout(text, copy);
  auto* read = dynamic_cast<TTeThemeEngine*>(copy.FindComponent("TeThemeEngine1"));
  ASSERT_NE(read, nullptr);
  auto* style = dynamic_cast<TFakeStd*>(read->Theme());
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->DeltaHue(), 40);
  EXPECT_EQ(style->DeltaBrightness(), -3);
  EXPECT_FALSE(read->ColorAutoChanging());
  // Colour changing was off in the stored engine, and it is read first.
  EXPECT_EQ(copy.Color(), clRed);
}

class SwitcherTest : public ThemeEngineTest {};

TEST_F(SwitcherTest, ListsTheRegistryAndFollowsTheEngine) {
  RegisterFakes();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* engine = TComponent::Create<TTeThemeEngine>(&form);
  auto* switcher = TComponent::Create<TTeSwitcherComboBox>(&form);
  switcher->SetParent(&form);

  // No engine: every style listed, nothing selected.
  ASSERT_EQ(switcher->ItemCount(), 4);
  EXPECT_EQ(switcher->ItemIndex(), -1);
  for (int i = 0; i < ThemeClassCount(); ++i) {
    EXPECT_EQ(switcher->ItemText(i), ThemeClasses(i)->GetName());
    EXPECT_EQ(switcher->ItemThemeClass(i), ThemeClasses(i));
  }

  switcher->SetThemeEngine(engine);
  EXPECT_EQ(switcher->ItemIndex(), 3);  // "No Theme"

  // The window shows the same list and selection.
  HWND wnd = switcher->Handle();
  EXPECT_EQ(SendMessageW(wnd, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(wnd, CB_GETCURSEL, 0, 0), 3);
  wchar_t text[32] = {};
  SendMessageW(wnd, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Advanced");

  // A change made elsewhere moves the selection through the refresh walk.
  engine->SelectThemeClass(ThemeClassOf<TFakeKDE>());
  EXPECT_EQ(switcher->ItemIndex(), 2);
  EXPECT_EQ(SendMessageW(wnd, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(SwitcherTest, PickingAnItemSwitchesTheEngine) {
  RegisterFakes();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* engine = TComponent::Create<TTeThemeEngine>(&form);
  auto* switcher = TComponent::Create<TTeSwitcherComboBox>(&form);
  switcher->SetParent(&form);
  switcher->SetThemeEngine(engine);
  int changes = 0;
  switcher->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  HWND wnd = switcher->Handle();

  // As the user's pick arrives: the selection, then the notification to the parent.
  auto pick = [&](int index) {
    SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(wnd));
  };
  pick(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(engine->Theme()->ClassName(), "TFakeStd");
  EXPECT_EQ(switcher->ItemIndex(), 1);
  EXPECT_EQ(form.Color(), 0x123456);

  // Picking the current style again creates nothing new.
  TTeTheme* held = engine->Theme();
  pick(1);
  EXPECT_EQ(engine->Theme(), held);

  // Back to no style.
  pick(3);
  EXPECT_EQ(engine->Theme()->ThemeClass(), ThemeClassOf<TTeTheme>());
  EXPECT_EQ(form.Color(), clBtnFace);
  EXPECT_EQ(changes, 3);
}

TEST_F(SwitcherTest, DesignTimeAndEngineRemoval) {
  RegisterFakes();
  TForm form(nullptr);
  auto* engine = TComponent::Create<TTeThemeEngine>(&form);
  auto* switcher = TComponent::Create<TTeSwitcherComboBox>(&form);
  switcher->SetDesigning(true);
  switcher->SetThemeEngine(engine);
  ASSERT_EQ(switcher->ItemCount(), 1);
  EXPECT_EQ(switcher->ItemText(0), "<Theme's Switcher>");
  EXPECT_EQ(switcher->ItemIndex(), 0);

  switcher->SetDesigning(false);
  switcher->SetThemeEngine(engine);
  EXPECT_EQ(switcher->ItemCount(), 4);
  engine->Free();
  EXPECT_EQ(switcher->ThemeEngine(), nullptr);
}

}  // namespace
}  // namespace hv
