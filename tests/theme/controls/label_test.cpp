// The label on real windows: its automatic size, the edge it keeps, the
// vertical layouts, the literal "&", the accelerator and its colour.

#include "theme/controls/label.h"

#include <vector>

#include "framework/gdi.h"
#include "framework/graphics.h"
#include "tests/theme/controls/box_test_support.h"
#include "tests/theme/controls/control_test_support.h"
#include "theme/core/text.h"

namespace hv::test {
namespace {

// Remembers where each paint drew its text.
class TRecordingLabel : public TTeCustomLabel {
 public:
  using TTeCustomLabel::TTeCustomLabel;
  std::vector<TRect> drawn;

 protected:
  void DoDrawText(TRect& rect, unsigned flags) override {
    if (!(flags & DT_CALCRECT)) drawn.push_back(rect);
    TTeCustomLabel::DoDrawText(rect, flags);
  }
};

class LabelTest : public ControlTest {
 protected:
  template <class T = TTeCustomLabel>
  T* MakeLabel(int left, int top) {
    T* label = TComponent::Create<T>(form);
    label->SetParent(form);
    label->SetLeft(left);
    label->SetTop(top);
    return label;
  }
  // The text's extent in the label's font, as the platform measures it.
  TSize Measure(TControl* label, const std::string& text, unsigned flags = 0) {
    TMemoryDC dc;
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    canvas.SetFont(label->Font());
    TRect r{0, 0, 0, 0};
    DrawTextEx(canvas, text, r, DT_CALCRECT | DT_EXPANDTABS | flags);
    canvas.SetHandle(nullptr);
    return {r.right, r.bottom};
  }
};

TEST_F(LabelTest, DefaultsAndAnEmptyLabelKeepsOneLine) {
  auto* label = TComponent::Create<TTeCustomLabel>(form);
  EXPECT_EQ(label->Width(), 65);
  EXPECT_EQ(label->Height(), 17);
  EXPECT_TRUE(label->Transparent());
  EXPECT_TRUE(label->AutoSize());
  EXPECT_TRUE(label->ShowAccelChar());
  EXPECT_FALSE(label->WordWrap());
  EXPECT_EQ(label->Layout(), tlTop);
  EXPECT_EQ(label->Alignment(), TAlignment::taLeftJustify);

  label = MakeLabel(10, 10);
  label->SetCaption("Contents");
  EXPECT_EQ(label->Width(), Measure(label, "Contents").cx);
  label->SetCaption("");
  const TSize line = Measure(label, " ");
  EXPECT_GT(line.cy, 0);
  EXPECT_EQ(label->Height(), line.cy) << "one line of the font";
  EXPECT_EQ(label->Width(), line.cx);
  label->SetCaption("&");
  EXPECT_EQ(label->Height(), line.cy) << "a lone accelerator mark measures a line too";
}

TEST_F(LabelTest, ARightAlignedLabelKeepsItsRightEdgeAsItGrows) {
  auto* label = MakeLabel(200, 10);
  label->SetAlignment(TAlignment::taRightJustify);
  label->SetCaption("Page");
  const int right = label->Left() + label->Width();
  label->SetCaption("Page 12 of 240");
  EXPECT_EQ(label->Left() + label->Width(), right);
  EXPECT_EQ(label->Width(), Measure(label, "Page 12 of 240").cx);
  // Left-aligned, the left edge stays instead.
  auto* left = MakeLabel(40, 40);
  left->SetCaption("Page");
  left->SetCaption("Page 12 of 240");
  EXPECT_EQ(left->Left(), 40);
  // Without AutoSize nothing moves.
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 50, 30);
  label->SetCaption("x");
  EXPECT_EQ(label->BoundsRect(), Bounds(10, 10, 50, 30));
  // A new font measures again.
  left->Font()->SetSize(24);
  EXPECT_EQ(left->Height(), Measure(left, "Page 12 of 240").cy);
}

TEST_F(LabelTest, WithoutAccelCharTheAmpersandIsShownLiterally) {
  auto* label = MakeLabel(10, 10);
  label->SetCaption("Save && &Close");
  const int prefixed = label->Width();
  EXPECT_EQ(prefixed, Measure(label, "Save && &Close").cx);
  EXPECT_EQ(label->TextFlags() & DT_NOPREFIX, 0u);
  label->SetShowAccelChar(false);
  EXPECT_NE(label->TextFlags() & DT_NOPREFIX, 0u);
  label->SetCaption("Save && &Close!");
  label->SetCaption("Save && &Close");
  EXPECT_EQ(label->Width(), Measure(label, "Save && &Close", DT_NOPREFIX).cx);
  EXPECT_GT(label->Width(), prefixed) << "every ampersand takes room";
}

TEST_F(LabelTest, TextFlagsFollowAlignmentAndWrap) {
  auto* label = MakeLabel(10, 10);
  EXPECT_EQ(label->TextFlags(), static_cast<unsigned>(DT_LEFT | DT_EXPANDTABS));
  label->SetAlignment(TAlignment::taCenter);
  label->SetWordWrap(true);
  EXPECT_EQ(label->TextFlags(), static_cast<unsigned>(DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK));
  label->SetAlignment(TAlignment::taRightJustify);
  EXPECT_EQ(label->TextFlags() & (DT_RIGHT | DT_CENTER), static_cast<unsigned>(DT_RIGHT));
}

TEST_F(LabelTest, LayoutsMoveTheTextDownByTheRoomLeft) {
  auto* label = MakeLabel<TRecordingLabel>(10, 10);
  label->SetCaption("Topic");
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 80, 41);
  const int line = Measure(label, "Topic").cy;
  auto drawnAfterPaint = [&] {
    label->drawn.clear();
    RepaintAll(form->Handle());
    return label->drawn.empty() ? Rect(-1, -1, -1, -1) : label->drawn.back();
  };
  EXPECT_EQ(drawnAfterPaint().top, 0);
  label->SetLayout(tlBottom);
  EXPECT_EQ(drawnAfterPaint().top, 41 - line);
  label->SetLayout(tlCenter);
  EXPECT_EQ(drawnAfterPaint().top, (41 - line) / 2);
}

TEST_F(LabelTest, AnOpaqueLabelFillsItsColourAndASeeThroughOneShowsTheForm) {
  form->SetColor(FromRGB(0x224466));
  auto* label = MakeLabel(10, 10);
  label->SetCaption("i");
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 80, 20);
  EXPECT_EQ(ClientPixel(form->Handle(), 10 + 70, 10 + 10), 0x224466u);
  label->SetTransparent(false);
  label->SetColor(FromRGB(0xE0D0C0));
  RepaintAll(form->Handle());
  EXPECT_EQ(ClientPixel(form->Handle(), 10 + 70, 10 + 10), 0xE0D0C0u);
  EXPECT_EQ(ClientPixel(form->Handle(), 10 + 79, 10 + 19), 0xE0D0C0u);
  EXPECT_EQ(ClientPixel(form->Handle(), 10 + 80, 10 + 19), 0x224466u);
}

TEST_F(LabelTest, TheAcceleratorFocusesItsControlUntilThatIsGone) {
  auto* label = MakeLabel(10, 10);
  label->SetCaption("&Name");
  auto* target = Make<TPanel>(100, 100, 40, 20);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'n'), 0) << "nothing to focus";
  label->SetFocusControl(target);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'x'), 0);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'N'), 1);
  EXPECT_TRUE(target->Focused());
  label->SetShowAccelChar(false);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'n'), 0);
  label->SetShowAccelChar(true);
  label->SetEnabled(false);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'n'), 0);
  label->SetEnabled(true);
  target->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'n'), 0);
}

}  // namespace
}  // namespace hv::test
