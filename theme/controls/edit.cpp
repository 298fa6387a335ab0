// TTeCustomEdit: construction, properties, the text and its editing, the
// undo stack and the messages.

#include "theme/controls/edit.h"

#include <windows.h>

#include <algorithm>

#include "framework/graphics.h"
#include "framework/properties.h"
#include "framework/winstring.h"
#include "theme/controls/editwidths.h"
#include "theme/frame/formoptions.h"
#include "theme/frame/popupmenu.h"

namespace hv {

namespace {
std::wstring_view AsWide(std::u16string_view s) { return {reinterpret_cast<const wchar_t*>(s.data()), s.size()}; }
std::u16string FromWide(std::wstring_view s) { return {reinterpret_cast<const char16_t*>(s.data()), s.size()}; }
}  // namespace

TTeCustomEdit::TTeCustomEdit(TComponent* owner)
    : TTeCustomControl(owner),
      contextMenuOptions_(std::make_unique<TTePopupMenuOptions>()),
      widths_(std::make_unique<TEditCharWidths>()) {
  SetControlStyle(ControlStyle().Include(csCaptureMouse).Include(csDoubleClicks).Exclude(csSetCaption));
  SetPerformance(kspDoubleBuffer);
  SetBevelKind(kbkSingle);
  SetBevelWidth(1);
  SetBorderWidth(3);
  SetTabStop(true);
  SetBounds(Left(), Top(), 121, 21);
  SetColor(clWindow);
  SetCursor(crIBeam);
  // Set last: the frame set above must not size a box nobody has asked for yet.
  autoSize_ = true;
}

TTeCustomEdit::~TTeCustomEdit() {
  Destroying();
  contextMenu_.reset();
}

void TTeCustomEdit::Loaded() {
  inherited::Loaded();
  AdjustHeight();
}

void TTeCustomEdit::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.classStyle |= CS_DBLCLKS;
  params.caption.clear();
}

// --- properties ----------------------------------------------------------------------------

void TTeCustomEdit::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  Invalidate();
}

void TTeCustomEdit::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  Invalidate();
}

void TTeCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == charCase_) return;
  charCase_ = value;
  if (!text_.empty()) SetEditText(text_);
}

void TTeCustomEdit::SetPasswordKind(TPasswordKind value) {
  if (value == passwordKind_) return;
  passwordKind_ = value;
  SetCaret(caretPos_);
  Invalidate();
}

void TTeCustomEdit::SetPasswordWideChar(int value) {
  value &= 0xFFFF;
  if (value == passwordChar_) return;
  passwordChar_ = value;
  SetCaret(caretPos_);
  Invalidate();
}

void TTeCustomEdit::SetTextAlignment(TAlignment value) {
  if (value == textAlignment_) return;
  textAlignment_ = value;
  SetCaret(caretPos_);
  Invalidate();
}

void TTeCustomEdit::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustHeight();
}

void TTeCustomEdit::SetContextMenuOptions(const TTePopupMenuOptions* value) { contextMenuOptions_->Assign(value); }

void TTeCustomEdit::AdjustHeight() {
  if (!autoSize_ || IsLoading()) return;
  const int height = TextRect().Height() + 2 * GetContentRect().top;
  if (height != Height()) SetBounds(Left(), Top(), Width(), height);
}

void TTeCustomEdit::BorderChanged() {
  inherited::BorderChanged();
  AdjustHeight();
}

// --- the text ------------------------------------------------------------------------------

std::u16string TTeCustomEdit::ApplyCharCase(std::u16string value) const {
  // The wide mapping: a trip through the 8-bit code page would turn every
  // character it lacks into a question mark.
  if (value.empty() || charCase_ == ecNormal) return value;
  auto* data = reinterpret_cast<wchar_t*>(value.data());
  const auto count = static_cast<DWORD>(value.size());
  if (charCase_ == ecUpperCase) CharUpperBuffW(data, count);
  else CharLowerBuffW(data, count);
  return value;
}

void TTeCustomEdit::SetEditText(std::u16string value) {
  std::u16string stored = ApplyCharCase(std::move(value));
  Invalidate();
  if (stored == text_) return;
  text_ = std::move(stored);
  // A selection reaching past the new end would read outside the text.
  const int length = static_cast<int>(text_.size());
  if (SelStart() + SelCount() > length || SplitsPair(text_, SelStart()) ||
      SplitsPair(text_, SelStart() + SelCount()))
    SetSelLength(0);
  if (Enabled() && HandleAllocated()) {
    SetCaret(caretPos_);
  } else {
    caretPos_ = SnapToCharacter(text_, caretPos_, false);
    if (SelCount() == 0) selAnchor_ = caretPos_;
  }
  if (OnChange) OnChange(this);
}

std::string TTeCustomEdit::GetText() const { return Narrow(AsWide(text_)); }

void TTeCustomEdit::SetTextBuffer(const std::string& value) { SetEditText(FromWide(Widen(value))); }

int TTeCustomEdit::SelStart() const {
  if (selLength_ > 0) return selAnchor_;
  if (selLength_ < 0) return selAnchor_ + selLength_;
  return caretPos_;
}

std::u16string TTeCustomEdit::SelText() const {
  const int length = static_cast<int>(text_.size());
  const int start = std::clamp(SelStart(), 0, length);
  const int end = std::clamp(SelStart() + SelCount(), start, length);
  return text_.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

// --- caret and selection -------------------------------------------------------------------

void TTeCustomEdit::SetCaret(int index) {
  caretPos_ = SnapToCharacter(text_, index, index >= caretPos_);
  ScrollToCaret();
  if (SelCount() == 0) selAnchor_ = caretPos_;
  PlaceSystemCaret();
}

void TTeCustomEdit::SetSelLength(int value) {
  if (value == 0) selAnchor_ = caretPos_;
  if (value == selLength_) return;
  selLength_ = value;
  Invalidate();
}

void TTeCustomEdit::SetAnchor(int index) {
  if (index == selAnchor_) return;
  SetSelLength(0);
  selAnchor_ = index;
  SetCaret(index);
  Invalidate();
}

void TTeCustomEdit::SelectAll() {
  SetCaret(static_cast<int>(text_.size()));
  SetAnchor(0);
  SetSelLength(static_cast<int>(text_.size()));
  Invalidate();
}

void TTeCustomEdit::Select(int start, int count) {
  const int length = static_cast<int>(text_.size());
  start = SnapToCharacter(text_, start, false);
  const int end = SnapToCharacter(text_, std::clamp(start + count, start, length), true);
  SetSelLength(0);
  SetCaret(start);
  selAnchor_ = end;
  selLength_ = start - end;
  SetCaret(end);
  Invalidate();
}

void TTeCustomEdit::PlaceSystemCaret() {
  if (!caretCreated_ || !HasFocus()) return;
  SetCaretPos(XOfIndex(caretPos_), TextRect().top);
}

// --- editing -------------------------------------------------------------------------------

void TTeCustomEdit::ReplaceSelection(std::u16string_view s) {
  if (readOnly_) return;
  const int start = SelStart();
  const std::u16string removed = SelText();
  const size_t resultLength = text_.size() - removed.size() + s.size();
  if (maxLength_ > 0 && resultLength > static_cast<size_t>(maxLength_)) {
    // Refused before anything is recorded: records of an edit that never
    // happened would make Undo remove text that was never inserted.
    SetSelLength(0);
    return;
  }
  actions_.RecordDeletion(start + 1, removed);
  actions_.RecordInsertion(start + 1, static_cast<int>(s.size()), !removed.empty());
  std::u16string result;
  result.reserve(resultLength);
  result.append(text_, 0, static_cast<size_t>(start));
  result.append(s);
  result.append(text_, static_cast<size_t>(start) + removed.size());
  SetEditText(std::move(result));
  SetCaret(start + static_cast<int>(s.size()));
  SetSelLength(0);
}

void TTeCustomEdit::DeleteSelection() {
  if (readOnly_ || SelCount() == 0) return;
  const int start = SelStart();
  const std::u16string removed = SelText();
  actions_.RecordDeletion(start + 1, removed);
  std::u16string result = text_;
  result.erase(static_cast<size_t>(start), removed.size());
  SetEditText(std::move(result));
  SetSelLength(0);
  SetCaret(start);
}

void TTeCustomEdit::RemoveCharacter(bool forward) {
  if (text_.empty()) return;
  const int from = forward ? caretPos_ : PreviousCharacter(text_, caretPos_);
  const int to = forward ? NextCharacter(text_, caretPos_) : caretPos_;
  if (to <= from) return;
  actions_.RecordDeletion(from + 1, std::u16string_view(text_).substr(static_cast<size_t>(from),
                                                                        static_cast<size_t>(to - from)));
  std::u16string result = text_;
  result.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
  SetEditText(std::move(result));
  SetCaret(from);
}

bool TTeCustomEdit::Undo() {
  if (actions_.Empty()) return false;
  bool chained = true;
  while (chained && !actions_.Empty()) {
    const TEditAction action = actions_.Pop();
    if (action.insertion) DeleteText(action.position, action.length, true);
    else InsertText(action.position - 1, action.text, true);
    chained = action.chained;
  }
  return true;
}

void TTeCustomEdit::InsertText(int index, std::u16string_view s, bool select) {
  if (maxLength_ > 0) {
    const size_t room = static_cast<size_t>(std::max(0, maxLength_ - static_cast<int>(text_.size())));
    s = WholeCharactersPrefix(s, room);
  }
  index = SnapToCharacter(text_, index, false);
  std::u16string result = text_;
  result.insert(static_cast<size_t>(index), s);
  SetEditText(std::move(result));
  if (!select) return;
  SetAnchor(index);
  SetSelLength(static_cast<int>(s.size()));
  SetCaret(SelStart() + SelCount());
}

void TTeCustomEdit::DeleteText(int position, int count, bool select) {
  const int length = static_cast<int>(text_.size());
  const int from = std::clamp(position - 1, 0, length);
  const int to = std::clamp(from + count, from, length);
  std::u16string result = text_;
  result.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
  SetEditText(std::move(result));
  if (!select) return;
  SetSelLength(0);
  SetAnchor(from);
  SetCaret(from);
}

// --- messages --------------------------------------------------------------------------------

void TTeCustomEdit::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_CUT:
      CutToClipboard();
      return;
    case WM_COPY:
      CopyToClipboard();
      return;
    case WM_PASTE:
      PasteFromClipboard();
      return;
    case WM_UNDO:
      message.Result = Undo() ? TRUE : FALSE;
      return;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return WMGetText(message);
    case WM_SETTEXT:
      return WMSetText(message);
    case WM_TIMER:
      return WMTimer(message);
    case WM_CONTEXTMENU:
      return WMContextMenu(message);
    case WM_IME_STARTCOMPOSITION:
      return WMImeStartComposition(message);
    case WM_IME_COMPOSITION:
      return WMImeComposition(message);
    case WM_LBUTTONDBLCLK:
      inherited::WndProc(message);
      SelectWordAt();
      return;
    case CM_FONTCHANGED:
      widths_->Clear();
      inherited::WndProc(message);
      AdjustHeight();
      SetCaret(caretPos_);
      return;
    case CM_TEXTCHANGED:
      SetSelLength(0);
      Invalidate();
      break;
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    case CM_CURSORCHANGED:
      if (Cursor() == crDefault) {
        SetCursor(crIBeam);
        return;
      }
      break;
    default:
      break;
  }
  inherited::WndProc(message);
}

void TTeCustomEdit::WMGetText(TMessage& message) {
  // Password text never leaves the box through the window's text.
  const std::u16string_view text = PasswordMode() ? std::u16string_view() : std::u16string_view(text_);
  if (message.Msg == WM_GETTEXTLENGTH) {
    message.Result = static_cast<intptr_t>(text.size());
    return;
  }
  auto* buffer = reinterpret_cast<wchar_t*>(message.LParam);
  const size_t capacity = message.WParam;
  message.Result = 0;
  if (!buffer || capacity == 0) return;
  const size_t count = WholeCharactersPrefix(text, capacity - 1).size();
  std::copy_n(reinterpret_cast<const wchar_t*>(text.data()), count, buffer);
  buffer[count] = L'\0';
  message.Result = static_cast<intptr_t>(count);
}

void TTeCustomEdit::WMSetText(TMessage& message) {
  const auto* text = reinterpret_cast<const wchar_t*>(message.LParam);
  SetEditText(text ? FromWide(text) : std::u16string());
  SetSelLength(0);
  message.Result = TRUE;
}

void TTeCustomEdit::PublishProperties(TPropertyList& p) {
  PublishFrameProperties(p);
  p.Boolean("AutoSelect", &TTeCustomEdit::AutoSelect, &TTeCustomEdit::SetAutoSelect, true);
  p.Boolean("AutoSize", &TTeCustomEdit::AutoSize, &TTeCustomEdit::SetAutoSize, true);
  p.Enum("CharCase", &TTeCustomEdit::CharCase, &TTeCustomEdit::SetCharCase,
         {"ecNormal", "ecUpperCase", "ecLowerCase"}, ecNormal);
  p.Object("ContextMenuOptions", &TTeCustomEdit::ContextMenuOptions);
  p.Boolean("HideSelection", &TTeCustomEdit::HideSelection, &TTeCustomEdit::SetHideSelection, true);
  p.Integer("MaxLength", &TTeCustomEdit::MaxLength, &TTeCustomEdit::SetMaxLength, 0);
  p.Enum("PasswordKind", &TTeCustomEdit::PasswordKind, &TTeCustomEdit::SetPasswordKind,
         {"pkNone", "pkChar", "pkRect", "pkRoundRect", "pkCircle", "pkTriangle"}, pkNone);
  p.Integer("PasswordWideChar", &TTeCustomEdit::PasswordWideChar, &TTeCustomEdit::SetPasswordWideChar, 0);
  p.Boolean("ReadOnly", &TTeCustomEdit::ReadOnly, &TTeCustomEdit::SetReadOnly, false);
  p.Enum("TextAlignment", &TTeCustomEdit::TextAlignment, &TTeCustomEdit::SetTextAlignment,
         {"taLeftJustify", "taRightJustify", "taCenter"}, TAlignment::taLeftJustify);
  p.String("Text", &TControl::Text, &TControl::SetText);
  p.Event("OnChange", &TTeCustomEdit::OnChange);
}

}  // namespace hv
