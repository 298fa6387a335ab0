#include "framework/filer.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/classes.h"
#include "tests/framework/layout_test_classes.h"

namespace hv {
namespace {

using namespace layouttest;

const char kForm[] =
    "object FrmMain: TTestForm\n"
    "  Left = -4\n"
    "  Width = 640\n"
    "  Caption = 'It''s'#13#10'ok'\n"
    "  Anchors = [akLeft, akTop, akRight]\n"
    "  Color = clWindow\n"
    "  Ratio = 1.5\n"
    "  Font.Name = 'MS Sans Serif'\n"
    "  Font.Style = [fsBold]\n"
    "  Items.Strings = (\n"
    "    'one'\n"
    "    'two')\n"
    "  PopupMenu = Menu1\n"
    "  OnShow = FormShow\n"
    "  object Menu1: TTestMenu\n"
    "    AutoPopup = False\n"
    "  end\n"
    "  object Engine: TTestEngine\n"
    "    ColorAutoChanging = True\n"
    "    DeltaHue = 30\n"
    "    ThemeClass = {\n"
    "      090000004D6574616C4C756E61}\n"
    "  end\n"
    "  object Panel1: TTestPanel\n"
    "    Width = 0\n"
    "    Align = alTop\n"
    "    Color = 1193046\n"
    "    object Button1: TTestButton\n"
    "      Width = 75\n"
    "      Caption = 'Go'\n"
    "      Visible = False\n"
    "      PopupMenu = Menu1\n"
    "      OnClick = ButtonClick\n"
    "      Default = True\n"
    "    end\n"
    "  end\n"
    "end\n";

class FilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    loadedLog.clear();
    baseline_ = liveComponents;
  }
  void TearDown() override { EXPECT_EQ(liveComponents, baseline_) << "every component read is gone again"; }

  // Reads text into a fresh form, expects failure and checks that nothing of
  // the read is left behind; returns the message.
  static std::string FailedRead(const std::string& text) {
    TTestForm form(nullptr);
    auto* existing = TComponent::Create<TTestMenu>(&form);
    existing->SetName("Existing");
    int live = liveComponents;
    std::string message = "no error";
    try {
      ReadLayout(text, form);
    } catch (const EReadError& e) {
      message = e.Message();
    }
    EXPECT_EQ(form.ComponentCount(), 1) << message;
    EXPECT_EQ(form.Components(0), existing);
    EXPECT_EQ(liveComponents, live) << message;
    EXPECT_EQ(form.Panel1, nullptr);
    EXPECT_EQ(form.Button1, nullptr);
    EXPECT_EQ(form.Menu1, nullptr);
    EXPECT_FALSE(form.IsLoading());
    EXPECT_EQ(form.ComponentState() & csReading, 0u);
    EXPECT_TRUE(form.Controls().empty());
    EXPECT_TRUE(loadedLog.empty()) << "Loaded runs only after a complete read";
    loadedLog.clear();
    return message;
  }

  int baseline_ = 0;
};

TEST_F(FilerTest, ReadsEveryKindOfValueAndLink) {
  TTestForm form(nullptr);
  ReadLayout(kForm, form);
  EXPECT_EQ(form.Name(), "FrmMain");
  EXPECT_EQ(form.Left(), -4);
  EXPECT_EQ(form.Caption(), "It's\r\nok");
  EXPECT_EQ(form.Anchors(), (TSet<TTestAnchor>{akLeft, akTop, akRight}));
  EXPECT_EQ(form.Color(), clWindow);
  EXPECT_EQ(form.Ratio(), 1.5);
  EXPECT_EQ(form.Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(form.Font()->Style(), TSet<TTestFontStyle>{fsBold});
  EXPECT_EQ(form.Items()->ToVector(), (std::vector<std::string>{"one", "two"}));

  ASSERT_NE(form.Menu1, nullptr);
  ASSERT_NE(form.Panel1, nullptr);
  ASSERT_NE(form.Button1, nullptr);
  EXPECT_EQ(form.ComponentCount(), 4) << "every component is owned by the root";
  EXPECT_EQ(form.Button1->Owner(), &form);
  EXPECT_FALSE(form.Menu1->AutoPopup());
  EXPECT_EQ(form.PopupMenu(), form.Menu1) << "a link to a component written further down";
  EXPECT_EQ(form.Button1->PopupMenu(), form.Menu1);
  EXPECT_EQ(form.Panel1->Parent(), &form) << "the enclosing block is the parent";
  EXPECT_EQ(form.Button1->Parent(), form.Panel1);
  EXPECT_EQ(form.Panel1->Align(), alTop);
  EXPECT_EQ(form.Panel1->Color(), 0x123456);
  EXPECT_TRUE(form.Button1->Default());
  EXPECT_FALSE(form.Button1->Visible());

  auto* engine = dynamic_cast<TTestEngine*>(form.FindComponent("Engine"));
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(engine->themeName, "MetalLuna");
  EXPECT_EQ(engine->DeltaHue(), 30);

  ASSERT_TRUE(form.Button1->OnClick);
  EXPECT_EQ(form.Button1->OnClick.Name(), "ButtonClick");
  form.Button1->OnClick(form.Button1);
  EXPECT_EQ(form.clicked, std::vector<TObject*>{form.Button1});
  ASSERT_TRUE(form.OnShow);
  form.OnShow(&form);
  EXPECT_EQ(form.shown, std::vector<TObject*>{&form});

  EXPECT_EQ(loadedLog, (std::vector<std::string>{"FrmMain", "Menu1", "Panel1", "Button1"}))
      << "root first, then in reading order";
  for (int i = 0; i < form.ComponentCount(); ++i) EXPECT_FALSE(form.Components(i)->IsLoading());
  EXPECT_FALSE(form.IsLoading());

  EXPECT_EQ(WriteLayout(form), kForm) << "canonical text comes back unchanged";
}

TEST_F(FilerTest, ComponentsAreInTheLoadingStateWhileTheirPropertiesAreSet) {
  TTestForm form(nullptr);
  ReadLayout(kForm, form);
  EXPECT_TRUE(form.captionSetWhileLoading);
  EXPECT_TRUE(form.Button1->captionSetWhileLoading);
  form.Button1->SetCaption("later");
  EXPECT_FALSE(form.Button1->captionSetWhileLoading) << "Loaded ended the state";
  EXPECT_EQ(form.ComponentState() & (csLoading | csReading), 0u);
}

TEST_F(FilerTest, StreamsCarryTheSameText) {
  TTestForm form(nullptr);
  TMemoryStream in(std::span(reinterpret_cast<const uint8_t*>(kForm), sizeof kForm - 1));
  TReader(in).ReadRootComponent(form);
  TMemoryStream out;
  TWriter(out).WriteRootComponent(form);
  EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()), kForm);
}

TEST_F(FilerTest, DefaultsAreNotWritten) {
  TTestForm form(nullptr);
  EXPECT_EQ(WriteLayout(form), "object TTestForm\n  Width = 0\nend\n") << "Width has no default: always written";
  ReadLayout(
      "object Form1: TTestForm\n"
      "  Left = 0\n"
      "  Anchors = [akTop, akLeft]\n"
      "  Color = clBtnFace\n"
      "  Visible = True\n"
      "  Align = alnone\n"
      "  Ratio = 0\n"
      "  Font.Size = 8\n"
      "  Font.Name = 'Tahoma'\n"
      "  Items.Strings = ()\n"
      "  PopupMenu = nil\n"
      "  object Menu1: TTestMenu\n"
      "    AutoPopup = True\n"
      "  end\n"
      "end\n",
      form);
  EXPECT_EQ(WriteLayout(form),
            "object Form1: TTestForm\n"
            "  Width = 0\n"
            "  object Menu1: TTestMenu\n"
            "  end\n"
            "end\n");
}

TEST_F(FilerTest, WriteReadWriteIsStable) {
  std::string first;
  {
    TTestForm form(nullptr);
    form.SetName("Form1");
    form.SetCaption(std::string("\x01\xE9\xA6\x96''\n") + std::string(100, 'x'));
    form.SetRatio(-1.0 / 3);
    form.SetColor(static_cast<TColor>(0xFF000099u));
    form.Items()->Add("");
    form.Items()->Add(std::string(200, '#'));
    auto* panel = TComponent::Create<TTestPanel>(&form);
    panel->SetName("Panel1");
    panel->SetParentComponent(&form);
    auto* inner = TComponent::Create<TTestPanel>(&form);
    inner->SetName("Inner");
    inner->SetParentComponent(panel);
    auto* menu = TComponent::Create<TTestMenu>(&form);
    menu->SetName("Menu1");
    inner->SetPopupMenu(menu);
    auto* engine = TComponent::Create<TTestEngine>(&form);
    engine->SetName("Engine");
    engine->themeName = "KDE";
    engine->SetDeltaHue(-7);
    first = WriteLayout(form);
  }
  EXPECT_NE(first.find("    ThemeClass = {\n      030000004B4445}\n"), std::string::npos) << first;
  EXPECT_NE(first.find("  object Menu1: TTestMenu\n  end\n  object Engine: TTestEngine\n"), std::string::npos)
      << "components without a parent come first, in creation order";
  TTestForm again(nullptr);
  ReadLayout(first, again);
  EXPECT_EQ(WriteLayout(again), first);
  auto* inner = dynamic_cast<TTestPanel*>(again.FindComponent("Inner"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Parent(), again.Panel1);
  EXPECT_EQ(inner->PopupMenu(), again.Menu1);
}

TEST_F(FilerTest, ABadThemeClassBlockIsIgnoredByItsReader) {
  for (const char* block : {"{}", "{05000000414243}", "{FFFFFFFF}", "{0100}"}) {
    TTestForm form(nullptr);
    ReadLayout(std::string("object F: TTestForm\n  object E: TTestEngine\n    ThemeClass = ") + block + "\n  end\nend\n",
               form);
    auto* engine = dynamic_cast<TTestEngine*>(form.FindComponent("E"));
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->themeName, "No Theme") << block;
  }
}

TEST_F(FilerTest, ErrorsNameTheLineAndUndoTheRead) {
  const std::string head = "object FrmMain: TTestForm\n  object Menu1: TTestMenu\n  end\n  object Panel1: TTestPanel\n";
  const std::string tail = "  end\nend\n";
  // Lines 5 and on are inside Panel1, after Menu1 and Panel1 were created.
  EXPECT_EQ(FailedRead(head + "    Left = 1\n    Align = alTop\n    Foo = 3\n" + tail),
            "Line 7: Property Foo does not exist");
  EXPECT_EQ(FailedRead(head + "    Font.Foo = 3\n" + tail), "Line 5: Property Font.Foo does not exist");
  EXPECT_EQ(FailedRead(head + "    Caption.Foo = 3\n" + tail), "Line 5: Property Caption.Foo does not exist");
  EXPECT_EQ(FailedRead(head + "    object Button1: TFoo\n    end\n" + tail), "Line 5: Class TFoo not found");
  EXPECT_EQ(FailedRead(head + "    Left = 'abc'\n" + tail), "Line 5: Invalid property value for Left");
  EXPECT_EQ(FailedRead(head + "    Left = 1.5\n" + tail), "Line 5: Invalid property value for Left");
  EXPECT_EQ(FailedRead(head + "    Align = alSideways\n" + tail), "Line 5: Invalid property value for Align");
  EXPECT_EQ(FailedRead(head + "    Anchors = [akLeft, akFront]\n" + tail), "Line 5: Invalid property value for Anchors");
  EXPECT_EQ(FailedRead(head + "    Visible = 1\n" + tail), "Line 5: Invalid property value for Visible");
  EXPECT_EQ(FailedRead(head + "    Color = clNotAColour\n" + tail), "Line 5: Invalid property value for Color");
  EXPECT_EQ(FailedRead(head + "    Font = 1\n" + tail), "Line 5: Invalid property value for Font");
  EXPECT_EQ(FailedRead(head + "    Items.Strings = 'a'\n" + tail), "Line 5: Invalid property value for Strings");
  EXPECT_EQ(FailedRead(head + "    PopupMenu = 'Menu1'\n" + tail), "Line 5: Invalid property value for PopupMenu");
  EXPECT_EQ(FailedRead(head + "    object E: TTestEngine\n      ThemeClass = 'x'\n    end\n" + tail),
            "Line 6: Invalid property value for ThemeClass");
  EXPECT_EQ(FailedRead(head + "    PopupMenu = Menu9\n" + tail), "Line 5: Component Menu9 not found for PopupMenu");
  EXPECT_EQ(FailedRead(head + "    PopupMenu = Panel1\n" + tail), "Line 5: Invalid property value for PopupMenu");
  EXPECT_EQ(FailedRead(head + "    Left = 2\n    OnClick = Nope\n" + tail), "Line 6: Method Nope not found for OnClick");
  EXPECT_EQ(FailedRead(head + "    OnClick = WrongSignature\n" + tail), "Line 5: Invalid property value for OnClick");
  EXPECT_EQ(FailedRead(head + "    object Menu1: TTestMenu\n    end\n" + tail),
            "Line 5: A component named Menu1 already exists");
  EXPECT_EQ(FailedRead(head + "    object Existing: TTestMenu\n    end\n" + tail),
            "Line 5: A component named Existing already exists");
  EXPECT_EQ(FailedRead(head + "    object Button1: TTestPanel\n    end\n" + tail),
            "Line 5: Invalid class TTestPanel for field Button1");
  RegisterComponentClass(TStringList::StaticClassInfo());
  EXPECT_EQ(FailedRead(head + "    object L: TStringList\n    end\n" + tail), "Line 5: Cannot create a TStringList");
  UnRegisterComponentClass(TStringList::StaticClassInfo());
  EXPECT_EQ(FailedRead("object FrmMain: TTestPanel\nend\n"), "Line 1: Cannot read a TTestPanel into a TTestForm");
  // A control inside a component that cannot hold it would be written back
  // elsewhere and read into another place.
  EXPECT_EQ(FailedRead("object FrmMain: TTestForm\n  object M: TTestMenu\n    object P: TTestPanel\n    end\n  end\nend\n"),
            "Line 3: A TTestPanel cannot stand inside a TTestMenu");
  EXPECT_EQ(FailedRead(head + "    Left = 1\n"), "Line 6: 'end' expected but end of file found");
  EXPECT_EQ(FailedRead("object 1: TTestForm\nend\n"), "Line 1: Identifier expected but '1' found");
}

TEST_F(FilerTest, AFailedReadLeavesTheRootUsable) {
  TTestForm form(nullptr);
  EXPECT_THROW(ReadLayout("object F: TTestForm\n  object Panel1: TTestPanel\n    Left = x\n  end\nend\n", form),
               EReadError);
  EXPECT_EQ(form.ComponentCount(), 0);
  ReadLayout(kForm, form);
  EXPECT_EQ(form.ComponentCount(), 4);
  EXPECT_EQ(form.Button1->Parent(), form.Panel1);
}

TEST_F(FilerTest, StoredClassMayBeAnAncestorOfTheRoot) {
  TTestForm form(nullptr);
  ReadLayout("object Base: TTestControl\n  Left = 5\nend\n", form);
  EXPECT_EQ(form.Left(), 5);
  EXPECT_EQ(form.Name(), "Base");
}

TEST_F(FilerTest, FieldsAreClearedWhenTheirComponentGoes) {
  TTestForm form(nullptr);
  ReadLayout(kForm, form);
  form.Button1->Free();
  EXPECT_EQ(form.Button1, nullptr);
  EXPECT_TRUE(form.Panel1->Controls().empty());
  form.Menu1->Free();
  EXPECT_EQ(form.Menu1, nullptr);
  EXPECT_EQ(form.PopupMenu(), nullptr) << "the link was cleared by its free notification";
  EXPECT_NE(form.Panel1, nullptr);
}

TEST(ClassRegistryTest, FindsByNameAndRefusesClashes) {
  RegisterTestClasses();
  RegisterTestClasses();  // twice is fine
  EXPECT_EQ(GetClass("ttestpanel"), &TTestPanel::StaticClassInfo());
  EXPECT_EQ(&FindClass("TTestButton"), &TTestButton::StaticClassInfo());
  EXPECT_EQ(GetClass("TNope"), nullptr);
  try {
    FindClass("TNope");
    FAIL() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNope not found");
  }
  static const TClassInfo impostor("TTestPanel", &TComponent::StaticClassInfo(), nullptr, nullptr);
  EXPECT_THROW(RegisterComponentClass(impostor), EComponentError);
  EXPECT_EQ(GetClass("TTestPanel"), &TTestPanel::StaticClassInfo());
}

}  // namespace
}  // namespace hv

namespace hv {
namespace {

using namespace layouttest;

TEST_F(FilerTest, CollectionItemsAreReadLinkedAndWrittenBack) {
  const std::string text =
      "object FrmMain: TTestForm\n"
      "  object Bar1: TTestBar\n"
      "    Sections = <\n"
      "      item\n"
      "        Text = 'Ready'\n"
      "        Menu = Menu1\n"
      "      end\n"
      "      item\n"
      "        Width = 120\n"
      "      end>\n"
      "  end\n"
      "  object Menu1: TTestMenu\n"
      "  end\n"
      "end\n";
  TTestForm form(nullptr);
  ReadLayout(text, form);
  auto* bar = dynamic_cast<TTestBar*>(form.FindComponent("Bar1"));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Sections()->Count(), 2);
  EXPECT_EQ(bar->Sections()->Section(0)->Text(), "Ready");
  EXPECT_EQ(bar->Sections()->Section(0)->Width(), 50);
  EXPECT_EQ(bar->Sections()->Section(0)->Menu(), form.Menu1) << "a link to a component further down";
  EXPECT_EQ(bar->Sections()->Section(1)->Width(), 120);
  EXPECT_EQ(bar->Sections()->updates, 0);
  EXPECT_NE(WriteLayout(form).find("    Sections = <\n"
                                   "      item\n"
                                   "        Text = 'Ready'\n"
                                   "        Menu = Menu1\n"
                                   "      end\n"
                                   "      item\n"
                                   "        Width = 120\n"
                                   "      end>\n"),
            std::string::npos);

  // A second read replaces the items; an empty collection is not written.
  ReadLayout("object FrmMain: TTestForm\n  object Bar2: TTestBar\n    Sections = <>\n  end\nend\n", form);
  auto* bar2 = dynamic_cast<TTestBar*>(form.FindComponent("Bar2"));
  ASSERT_NE(bar2, nullptr);
  EXPECT_EQ(bar2->Sections()->Count(), 0);
  EXPECT_EQ(WriteLayout(form).find("Bar2: TTestBar\n    Sections"), std::string::npos);
}

TEST_F(FilerTest, BrokenCollectionItemsNameTheirLine) {
  const std::string head = "object FrmMain: TTestForm\n  object Bar1: TTestBar\n    Sections = <\n      item\n";
  EXPECT_EQ(FailedRead(head + "        Height = 3\n      end>\n  end\nend\n"),
            "Line 5: Property Sections.Height does not exist");
  EXPECT_EQ(FailedRead(head + "        Width = 'wide'\n      end>\n  end\nend\n"),
            "Line 5: Invalid property value for Width");
  EXPECT_EQ(FailedRead(head + "        Menu = Menu9\n      end>\n  end\nend\n"),
            "Line 5: Component Menu9 not found for Menu");
  EXPECT_EQ(FailedRead("object FrmMain: TTestForm\n  object Bar1: TTestBar\n    Sections = 3\n  end\nend\n"),
            "Line 3: Invalid property value for Sections");
  EXPECT_EQ(FailedRead("object FrmMain: TTestForm\n  object Bar1: TTestBar\n    Tag = <>\n  end\nend\n"),
            "Line 3: Property Tag does not exist");
  // Items replaced by a second value of the same property leave no link
  // waiting for them.
  const std::string twice =
      "object FrmMain: TTestForm\n  object Menu1: TTestMenu\n  end\n  object Bar1: TTestBar\n"
      "    Sections = <\n      item\n        Menu = Menu1\n      end>\n    Sections = <\n      item\n      end>\n"
      "  end\nend\n";
  TTestForm form(nullptr);
  ReadLayout(twice, form);
  auto* bar = dynamic_cast<TTestBar*>(form.FindComponent("Bar1"));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Sections()->Count(), 1);
  EXPECT_EQ(bar->Sections()->Section(0)->Menu(), nullptr);
}

}  // namespace
}  // namespace hv
