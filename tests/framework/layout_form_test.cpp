// Forms made from stored layouts: children created and parented, fields and
// handlers bound by name, Loaded after everything is read, and the same text
// written back.

#include <gtest/gtest.h>
#include <windows.h>

#include "framework/classes.h"
#include "framework/extctrls.h"
#include "framework/filer.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/memo.h"
#include "framework/standardclasses.h"
#include "framework/sysutils.h"
#include "framework/timer.h"
#include "framework/treeview.h"

namespace hv {
namespace {

class TFrmSample : public TForm {
  HV_CLASS_NO_PROPERTIES(TFrmSample, TForm)

 public:
  explicit TFrmSample(TComponent* owner) : TForm(owner) {
    PublishField("Bar", Bar);
    PublishField("Go", Go);
    PublishField("Tree", Tree);
    PublishField("Paths", Paths);
    PublishMethod<void(TObject*)>("GoClick", [this](TObject* sender) { clickedBy = sender; });
    PublishMethod<void(TObject*, TTreeNode*)>("TreeChange", [this](TObject*, TTreeNode*) { ++treeChanges; });
  }
  TPanel* Bar = nullptr;
  TSpeedButton* Go = nullptr;
  TTreeView* Tree = nullptr;
  TMemo* Paths = nullptr;
  TObject* clickedBy = nullptr;
  int treeChanges = 0;
};

constexpr std::string_view kLayout =
    "object FrmSample: TFrmSample\n"
    "  Left = 10\n"
    "  Top = 20\n"
    "  Width = 400\n"
    "  Height = 300\n"
    "  Caption = 'Sample'\n"
    "  Color = clBtnFace\n"
    "  Font.Height = -11\n"
    "  Font.Name = 'MS Sans Serif'\n"
    "  object Bar: TPanel\n"
    "    Left = 0\n"
    "    Top = 0\n"
    "    Width = 392\n"
    "    Height = 32\n"
    "    Align = alTop\n"
    "    BevelOuter = bvNone\n"
    "    TabOrder = 0\n"
    "    object Go: TSpeedButton\n"
    "      Left = 56\n"
    "      Top = 3\n"
    "      Width = 49\n"
    "      Height = 25\n"
    "      Caption = 'Go'\n"
    "      Flat = True\n"
    "      OnClick = GoClick\n"
    "    end\n"
    "  end\n"
    "  object Tree: TTreeView\n"
    "    Left = 0\n"
    "    Top = 32\n"
    "    Width = 201\n"
    "    Height = 200\n"
    "    Align = alLeft\n"
    "    Indent = 19\n"
    "    TabOrder = 1\n"
    "    Items.Strings = (\n"
    "      'qwdasd'\n"
    "      'asdasd')\n"
    "    OnChange = TreeChange\n"
    "  end\n"
    "  object Paths: TMemo\n"
    "    Left = 368\n"
    "    Top = 160\n"
    "    Width = 185\n"
    "    Height = 89\n"
    "    Visible = False\n"
    "    TabOrder = 2\n"
    "    Lines.Strings = (\n"
    "      'Memo1')\n"
    "    ScrollBars = ssBoth\n"
    "  end\n"
    "end\n";

TEST(LayoutFormTest, ALayoutBuildsTheFormWithItsFieldsAndHandlers) {
  RegisterStandardClasses();
  RegisterClasses<TFrmSample>();
  TFrmSample form(nullptr);
  form.LoadFromLayoutText(kLayout);
  ASSERT_NE(form.Bar, nullptr);
  ASSERT_NE(form.Go, nullptr);
  ASSERT_NE(form.Tree, nullptr);
  ASSERT_NE(form.Paths, nullptr);
  EXPECT_EQ(form.Go->Parent(), form.Bar);
  EXPECT_EQ(form.Bar->Parent(), &form);
  EXPECT_EQ(form.Go->Owner(), &form);
  EXPECT_FALSE(form.IsLoading());
  EXPECT_FALSE(form.Go->IsLoading());
  EXPECT_EQ(form.Caption(), "Sample");
  EXPECT_EQ(form.Go->Font()->Name(), "MS Sans Serif") << "parent font reached the child after loading";
  EXPECT_EQ(form.Tree->Items()->Count(), 2);
  EXPECT_EQ(form.Tree->Items()->Item(1)->Text(), "asdasd");
  EXPECT_EQ(form.Paths->Lines()->Get(0), "Memo1");
  EXPECT_FALSE(form.Paths->Visible());

  form.Go->Click();
  EXPECT_EQ(form.clickedBy, form.Go);

  form.Show();
  EXPECT_EQ(form.Bar->BoundsRect().Width(), form.ClientWidth()) << "aligned once loaded";
  form.Tree->SetSelected(form.Tree->Items()->Item(1));
  EXPECT_EQ(form.treeChanges, 1);
  wchar_t cls[32] = {};
  GetClassNameW(form.Handle(), cls, 32);
  EXPECT_STREQ(cls, L"TFrmSample");
}

TEST(LayoutFormTest, WritingTheFormGivesItsLayoutBack) {
  RegisterStandardClasses();
  RegisterClasses<TFrmSample>();
  TFrmSample form(nullptr);
  form.LoadFromLayoutText(kLayout);
  std::string written = WriteLayout(form);
  // Values as stored, defaults left out, inherited fonts and colours not
  // repeated, bases' properties before the class's own.
  EXPECT_NE(written.find("    Items.Strings = (\n      'qwdasd'\n      'asdasd')\n"), std::string::npos) << written;
  EXPECT_NE(written.find("      Caption = 'Go'\n      OnClick = GoClick\n      Flat = True\n"), std::string::npos)
      << written;
  EXPECT_EQ(written.find("Indent"), std::string::npos) << "the default indent is not written";
  EXPECT_EQ(written.find("TabStop"), std::string::npos) << "nor the controls' own tab stops";
  EXPECT_EQ(written.find("Font.", written.find("object Bar")), std::string::npos) << "children follow the form's font";
  // And what is written reads back to the same text.
  TFrmSample again(nullptr);
  again.LoadFromLayoutText(written);
  EXPECT_EQ(WriteLayout(again), written);
}

TEST(LayoutFormTest, AFieldOfTheWrongClassIsAReadError) {
  RegisterStandardClasses();
  RegisterClasses<TFrmSample>();
  TFrmSample form(nullptr);
  EXPECT_THROW(form.LoadFromLayoutText("object FrmSample: TFrmSample\n  object Bar: TMemo\n  end\nend\n"), EReadError);
  EXPECT_EQ(form.Bar, nullptr);
  EXPECT_EQ(form.ComponentCount(), 0) << "nothing half-made is left behind";
}

}  // namespace
}  // namespace hv
