// The controls the controls sheet shows, each in the states a user meets,
// reached with the messages the user's mouse would send.

#include <windows.h>

#include <string>
#include <type_traits>

#include "framework/strings.h"
#include "theme/controls/checkbox.h"
#include "theme/controls/edit.h"
#include "theme/controls/groupbox.h"
#include "theme/controls/label.h"
#include "theme/controls/pushbutton.h"
#include "theme/controls/radiobutton.h"
#include "theme/controls/radiogroup.h"
#include "theme/controls/scrollbar.h"
#include "theme/controls/speedbutton.h"
#include "theme/controls/spinbutton.h"
#include "theme/controls/splitter.h"
#include "theme/controls/statusbar.h"
#include "theme/controls/themetreeview.h"
#include "tools/gallery/controlsheet.h"

namespace hv {

namespace {

// The control's parent window and a point of the control in its client
// coordinates; the real pointer goes there too, so that the hover stays.
void MouseAt(TControl& control, UINT msg, WPARAM keys, int dx, int dy) {
  TWinControl* parent = control.Parent();
  auto* windowed = dynamic_cast<TWinControl*>(&control);
  HWND wnd = windowed ? windowed->Handle() : parent->Handle();
  const int x = windowed ? dx : control.Left() + dx;
  const int y = windowed ? dy : control.Top() + dy;
  POINT screen{x, y};
  ClientToScreen(wnd, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(wnd, msg, keys, MAKELPARAM(x, y));
}

void Hover(TControl& c) { MouseAt(c, WM_MOUSEMOVE, 0, c.Width() / 2, c.Height() / 2); }

void Press(TControl& c) {
  Hover(c);
  MouseAt(c, WM_LBUTTONDOWN, MK_LBUTTON, c.Width() / 2, c.Height() / 2);
}

template <class T>
T* Make(TWinControl& host, TTeThemeEngine& engine) {
  T* control = TComponent::Create<T>(&host);
  control->SetParent(&host);
  control->SetThemeEngine(&engine);
  return control;
}

TControlSheetRow SplitterRow() {
  TControlSheetRow row{"TTeThemeSplitter", {12, 60}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* splitter = Make<TTeThemeSplitter>(host, engine);
    splitter->SetAlign(TAlign::alNone);
    return splitter;
  };
  row.states = {{"normal", nullptr},
                {"hot", Hover},
                {"beveled", [](TControl& c) { static_cast<TTeThemeSplitter&>(c).SetBeveled(true); }},
                {"beveled, hot", [](TControl& c) {
                   static_cast<TTeThemeSplitter&>(c).SetBeveled(true);
                   Hover(c);
                 }}};
  return row;
}

TTeThemeStatusBar& Bar(TControl& c) { return static_cast<TTeThemeStatusBar&>(c); }

TControlSheetRow StatusBarRow() {
  TControlSheetRow row{"TTeThemeStatusBar", {300, 22}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* bar = Make<TTeThemeStatusBar>(host, engine);
    bar->SetAlign(TAlign::alNone);
    bar->Panels()->Add()->SetText("Ready");
    bar->Panels()->Add()->SetText("Page 1 of 12");
    bar->Panels()->Items(1)->SetWidth(90);
    return bar;
  };
  row.states = {
      {"two panels", nullptr},
      {"centred, right", [](TControl& c) {
         Bar(c).Panels()->Items(0)->SetAlignment(TAlignment::taCenter);
         Bar(c).Panels()->Items(1)->SetAlignment(TAlignment::taRightJustify);
       }},
      {"unframed", [](TControl& c) {
         Bar(c).Panels()->Items(0)->SetFramed(false);
         Bar(c).Panels()->Items(1)->SetFramed(false);
       }},
      {"text too wide", [](TControl& c) { Bar(c).Panels()->Items(0)->SetText("A text far too wide for its panel"); }},
      {"stretched last", [](TControl& c) { Bar(c).Panels()->Items(1)->SetStretchPriority(1); }},
      {"with size grip", [](TControl& c) { c.SetAlign(TAlign::alBottom); }},
  };
  return row;
}

TTeThemeSpeedButton& Button(TControl& c) { return static_cast<TTeThemeSpeedButton&>(c); }

TControlSheetRow SpeedButtonRow(bool flat) {
  TControlSheetRow row{flat ? "TTeThemeSpeedButton, flat" : "TTeThemeSpeedButton", {60, 25}, nullptr, {}};
  row.make = [flat](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* button = Make<TTeThemeSpeedButton>(host, engine);
    button->SetCaption("Next");
    button->SetFlat(flat);
    return button;
  };
  row.states = {{"normal", nullptr},
                {"hot", Hover},
                {"pressed", Press},
                {"down", [](TControl& c) {
                   Button(c).SetGroupIndex(1);
                   Button(c).SetDown(true);
                 }},
                {"down, hot", [](TControl& c) {
                   Button(c).SetGroupIndex(1);
                   Button(c).SetDown(true);
                   Hover(c);
                 }},
                {"disabled", [](TControl& c) { c.SetEnabled(false); }},
                {"chevron", [](TControl& c) { Button(c).SetShowChevron(true); }},
                {"chevron, hot", [](TControl& c) {
                   Button(c).SetShowChevron(true);
                   Hover(c);
                 }}};
  return row;
}

TControlSheetRow DividerRow() {
  TControlSheetRow row{"TTeSpeedDivider", {8, 25}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine&) -> TControl* {
    auto* divider = TComponent::Create<TTeSpeedDivider>(&host);
    divider->SetParent(&host);
    return divider;
  };
  row.states = {{"see-through", nullptr},
                {"opaque", [](TControl& c) {
                   static_cast<TTeSpeedDivider&>(c).SetTransparent(false);
                   c.SetColor(clBtnShadow);
                 }}};
  return row;
}

TControlSheetRow GroupBoxRow() {
  TControlSheetRow row{"TTeThemeGroupBox", {160, 60}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* box = Make<TTeThemeGroupBox>(host, engine);
    box->SetCaption("Options");
    return box;
  };
  auto box = [](TControl& c) -> TTeThemeGroupBox& { return static_cast<TTeThemeGroupBox&>(c); };
  row.states = {{"caption", nullptr},
                {"no caption", [](TControl& c) { c.SetCaption(""); }},
                {"check box", [box](TControl& c) { box(c).SetUseCheckBox(true); }},
                {"checked", [box](TControl& c) {
                   box(c).SetUseCheckBox(true);
                   box(c).SetChecked(true);
                 }},
                {"check box right", [box](TControl& c) {
                   box(c).SetUseCheckBox(true);
                   box(c).SetCheckBoxAlignment(ktaRightJustify);
                 }},
                {"disabled", [](TControl& c) { c.SetEnabled(false); }}};
  return row;
}

TControlSheetRow RadioGroupRow() {
  TControlSheetRow row{"TTeThemeRadioGroup", {160, 80}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* group = Make<TTeThemeRadioGroup>(host, engine);
    group->SetCaption("Page size");
    group->Items()->Add("Small");
    group->Items()->Add("Large");
    return group;
  };
  auto group = [](TControl& c) -> TTeThemeRadioGroup& { return static_cast<TTeThemeRadioGroup&>(c); };
  row.states = {{"none chosen", nullptr},
                {"first chosen", [group](TControl& c) { group(c).SetItemIndex(0); }},
                {"two columns", [group](TControl& c) {
                   group(c).SetColumns(2);
                   group(c).SetItemIndex(1);
                 }},
                {"disabled", [group](TControl& c) {
                   group(c).SetItemIndex(0);
                   c.SetEnabled(false);
                 }}};
  return row;
}

template <class T>
TControlSheetRow MarkRow(const char* name, const char* caption, bool grayed) {
  TControlSheetRow row{name, {110, 20}, nullptr, {}};
  row.make = [caption](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* mark = Make<T>(host, engine);
    mark->SetCaption(caption);
    return mark;
  };
  auto mark = [](TControl& c) -> T& { return static_cast<T&>(c); };
  row.states = {{"normal", nullptr},
                {"hot", Hover},
                {"pressed", Press},
                {"checked", [mark](TControl& c) { mark(c).SetChecked(true); }},
                {"checked, hot", [mark](TControl& c) {
                   mark(c).SetChecked(true);
                   Hover(c);
                 }},
                {"disabled", [](TControl& c) { c.SetEnabled(false); }},
                {"checked, disabled", [mark](TControl& c) {
                   mark(c).SetChecked(true);
                   c.SetEnabled(false);
                 }}};
  if constexpr (std::is_same_v<T, TTeThemeCheckBox>) {
    if (grayed)
      row.states.push_back({"grayed", [mark](TControl& c) {
                              mark(c).SetAllowGrayed(true);
                              mark(c).SetState(cbGrayed);
                            }});
  }
  return row;
}

TTeThemeScrollBar& ScrollBar(TControl& c) { return static_cast<TTeThemeScrollBar&>(c); }

// A point of a scroll bar's element, in the bar's own coordinates.
TPoint Middle(const TRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void MouseOn(TControl& c, UINT msg, WPARAM keys, TPoint p) { MouseAt(c, msg, keys, p.x, p.y); }

TControlSheetRow ScrollBarRow(bool vertical) {
  TControlSheetRow row{vertical ? "TTeThemeScrollBar, vertical" : "TTeThemeScrollBar, horizontal",
                       vertical ? TSize{17, 120} : TSize{120, 17}, nullptr, {}};
  row.make = [vertical](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* bar = Make<TTeThemeScrollBar>(host, engine);
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    bar->SetPageSize(20);
    bar->SetPosition(30);
    return bar;
  };
  row.states = {
      {"normal", nullptr},
      {"thumb hot", [](TControl& c) { MouseOn(c, WM_MOUSEMOVE, 0, Middle(ScrollBar(c).GetThumbRect())); }},
      {"thumb pressed", [](TControl& c) {
         MouseOn(c, WM_MOUSEMOVE, 0, Middle(ScrollBar(c).GetThumbRect()));
         MouseOn(c, WM_LBUTTONDOWN, MK_LBUTTON, Middle(ScrollBar(c).GetThumbRect()));
       }},
      {"arrow hot", [](TControl& c) { MouseOn(c, WM_MOUSEMOVE, 0, Middle(ScrollBar(c).GetFirstButtonRect())); }},
      {"arrow pressed", [](TControl& c) {
         MouseOn(c, WM_MOUSEMOVE, 0, Middle(ScrollBar(c).GetSecondButtonRect()));
         MouseOn(c, WM_LBUTTONDOWN, MK_LBUTTON, Middle(ScrollBar(c).GetSecondButtonRect()));
       }},
      {"at the start", [](TControl& c) { ScrollBar(c).SetPosition(0); }},
      {"at the end", [](TControl& c) { ScrollBar(c).SetPosition(ScrollBar(c).Max()); }},
      {"disabled", [](TControl& c) { c.SetEnabled(false); }},
  };
  return row;
}

TControlSheetRow TreeRow() {
  TControlSheetRow row{"TTeThemeSTreeView", {150, 110}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine& engine) -> TControl* {
    auto* tree = Make<TTeThemeSTreeView>(host, engine);
    TTreeNode* root = tree->Items()->Add("Contents");
    for (int i = 1; i <= 12; ++i) tree->Items()->AddChild(root, "Topic " + std::to_string(i));
    root->Expand(false);
    return tree;
  };
  row.states = {{"overflowing", nullptr},
                {"scrolled", [](TControl& c) {
                   SendMessageW(static_cast<TWinControl&>(c).Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
                 }},
                {"all fits", [](TControl& c) { static_cast<TTreeView&>(c).Items()->Item(0)->Collapse(false); }}};
  return row;
}

TTeCustomEdit& Edit(TControl& c) { return static_cast<TTeCustomEdit&>(c); }

// The edit box has no style of its own: it wears the frame of the control
// base, so the row shows its text, selection and password cells beside the
// styled controls.
TControlSheetRow EditRow() {
  TControlSheetRow row{"TTeCustomEdit", {121, 21}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine&) -> TControl* {
    auto* edit = TComponent::Create<TTeCustomEdit>(&host);
    edit->SetParent(&host);
    edit->SetEditText(u"Help \u4E2D\u6587 text");
    return edit;
  };
  row.states = {{"normal", nullptr},
                {"hot", Hover},
                {"selection", [](TControl& c) {
                   Edit(c).SetHideSelection(false);
                   Edit(c).Select(5, 2);
                 }},
                {"scrolled to the end", [](TControl& c) {
                   Edit(c).SetEditText(u"A line of text too long for the box to show at once");
                   Edit(c).SetCaret(static_cast<int>(Edit(c).EditText().size()));
                 }},
                {"right aligned", [](TControl& c) { Edit(c).SetTextAlignment(TAlignment::taRightJustify); }},
                {"centred", [](TControl& c) { Edit(c).SetTextAlignment(TAlignment::taCenter); }},
                {"password char", [](TControl& c) {
                   Edit(c).SetPasswordKind(pkChar);
                   Edit(c).SetPasswordWideChar(u'*');
                 }},
                {"password circles", [](TControl& c) { Edit(c).SetPasswordKind(pkCircle); }},
                {"password triangles", [](TControl& c) { Edit(c).SetPasswordKind(pkTriangle); }},
                {"disabled", [](TControl& c) { c.SetEnabled(false); }}};
  return row;
}

TTeThemeSpinButton& Spin(TControl& c) { return static_cast<TTeThemeSpinButton&>(c); }

TControlSheetRow SpinButtonRow() {
  TControlSheetRow row{"TTeThemeSpinButton", {17, 30}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine& engine) -> TControl* { return Make<TTeThemeSpinButton>(host, engine); };
  // The halves at their middles: the up half's is (8, 6), the down half's (8, 23).
  row.states = {{"normal", nullptr},
                {"up hot", [](TControl& c) { MouseAt(c, WM_MOUSEMOVE, 0, 8, 6); }},
                {"up pressed", [](TControl& c) {
                   MouseAt(c, WM_MOUSEMOVE, 0, 8, 6);
                   MouseAt(c, WM_LBUTTONDOWN, MK_LBUTTON, 8, 6);
                 }},
                {"down hot", [](TControl& c) { MouseAt(c, WM_MOUSEMOVE, 0, 8, 23); }},
                {"down pressed", [](TControl& c) {
                   MouseAt(c, WM_MOUSEMOVE, 0, 8, 23);
                   MouseAt(c, WM_LBUTTONDOWN, MK_LBUTTON, 8, 23);
                 }},
                {"no strip", [](TControl& c) { Spin(c).SetEnabledSlider(false); }},
                {"up disabled", [](TControl& c) { Spin(c).UpButton()->SetEnabled(false); }}};
  return row;
}

TControlSheetRow LabelRow() {
  TControlSheetRow row{"TTeCustomLabel", {110, 20}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine&) -> TControl* {
    auto* label = TComponent::Create<TTeCustomLabel>(&host);
    label->SetParent(&host);
    label->SetAutoSize(false);
    label->SetCaption("&Topic name");
    return label;
  };
  auto label = [](TControl& c) -> TTeCustomLabel& { return static_cast<TTeCustomLabel&>(c); };
  row.states = {{"left", nullptr},
                {"centred", [label](TControl& c) { label(c).SetAlignment(TAlignment::taCenter); }},
                {"right, bottom", [label](TControl& c) {
                   label(c).SetAlignment(TAlignment::taRightJustify);
                   label(c).SetLayout(tlBottom);
                 }},
                {"no accelerator", [label](TControl& c) { label(c).SetShowAccelChar(false); }},
                {"opaque", [label](TControl& c) {
                   label(c).SetTransparent(false);
                   c.SetColor(clWindow);
                 }},
                {"disabled", [](TControl& c) { c.SetEnabled(false); }}};
  return row;
}

TTeCustomButton& PushButton(TControl& c) { return static_cast<TTeCustomButton&>(c); }

TControlSheetRow PushButtonRow() {
  TControlSheetRow row{"TTeCustomButton", {80, 28}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine&) -> TControl* {
    auto* button = TComponent::Create<TTeCustomButton>(&host);
    button->SetParent(&host);
    button->SetCaption("Print");
    return button;
  };
  row.states = {{"normal", nullptr},
                {"hot", Hover},
                {"pressed", Press},
                {"default", [](TControl& c) { PushButton(c).SetDefault(true); }},
                {"disabled", [](TControl& c) { c.SetEnabled(false); }},
                {"OK", [](TControl& c) {
                   PushButton(c).SetKind(bkOK);
                   c.SetCaption("OK");
                 }},
                {"Cancel, disabled", [](TControl& c) {
                   PushButton(c).SetKind(bkCancel);
                   c.SetCaption("Cancel");
                   c.SetEnabled(false);
                 }},
                {"glyph right", [](TControl& c) {
                   PushButton(c).SetKind(bkRetry);
                   PushButton(c).SetLayout(blGlyphRight);
                 }},
                {"glyph only", [](TControl& c) {
                   PushButton(c).SetKind(bkHelp);
                   c.SetCaption("");
                 }}};
  return row;
}

TControlSheetRow TallPushButtonRow() {
  TControlSheetRow row{"TTeCustomButton, tall", {80, 48}, nullptr, {}};
  row.make = [](TWinControl& host, TTeThemeEngine&) -> TControl* {
    auto* button = TComponent::Create<TTeCustomButton>(&host);
    button->SetParent(&host);
    button->SetCaption("Yes");
    button->SetKind(bkYes);
    return button;
  };
  row.states = {{"glyph top", [](TControl& c) { PushButton(c).SetLayout(blGlyphTop); }},
                {"glyph bottom", [](TControl& c) { PushButton(c).SetLayout(blGlyphBottom); }},
                {"word wrap", [](TControl& c) {
                   PushButton(c).SetKind(bkCustom);
                   PushButton(c).SetGlyph(nullptr);
                   PushButton(c).SetWordWrap(true);
                   c.SetCaption("Print every page");
                 }}};
  return row;
}

}  // namespace

std::vector<TControlSheetRow> ControlSheetRows() {
  std::vector<TControlSheetRow> rows{SpeedButtonRow(true),
          SpeedButtonRow(false),
          DividerRow(),
          SplitterRow(),
          StatusBarRow(),
          GroupBoxRow(),
          RadioGroupRow(),
          MarkRow<TTeThemeCheckBox>("TTeThemeCheckBox", "Word wrap", true),
          MarkRow<TTeThemeRadioButton>("TTeThemeRadioButton", "Large", false),
          ScrollBarRow(true),
          ScrollBarRow(false),
          TreeRow(),
          EditRow(),
          SpinButtonRow(),
          LabelRow(),
          PushButtonRow(),
          TallPushButtonRow()};
  for (TControlSheetRow& row : MenuSheetRows()) rows.push_back(std::move(row));
  return rows;
}

}  // namespace hv
