// TTeCustomEdit: keys, the mouse, focus, the clipboard, the input-method
// editor and the context menu.

#include <windows.h>
#include <imm.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "theme/controls/edit.h"
#include "theme/controls/editwidths.h"
#include "theme/core/text.h"
#include "theme/frame/formoptions.h"
#include "theme/frame/popupmenu.h"

namespace hv {

namespace {

constexpr UINT_PTR kDragScrollTimer = 1;
constexpr UINT kDragScrollInterval = 60;

bool OnlyCtrl(TShiftState shift) {
  return shift.Contains(ssCtrl) && !shift.Contains(ssShift) && !shift.Contains(ssAlt);
}
bool OnlyShift(TShiftState shift) {
  return shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
}

// The clipboard for one use. Another program may hold it open: a few short
// tries, then the operation gives up without touching the text.
class TOpenClipboard {
 public:
  explicit TOpenClipboard(HWND owner) {
    for (int attempt = 0; attempt < 4 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(attempt == 0 ? 0 : 5);
    }
  }
  ~TOpenClipboard() {
    if (open_) CloseClipboard();
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

// A global block's bytes, locked while this lives.
class TGlobalLock {
 public:
  explicit TGlobalLock(HANDLE block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~TGlobalLock() {
    if (data_) GlobalUnlock(block_);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  void* Data() const { return data_; }
  size_t Size() const { return data_ ? GlobalSize(block_) : 0; }

 private:
  HANDLE block_;
  void* data_;
};

// Places a block on the open clipboard; the block is freed when placing fails.
bool PlaceOnClipboard(UINT format, const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return false;
  {
    TGlobalLock lock(block);
    if (!lock.Data()) {
      GlobalFree(block);
      return false;
    }
    std::memcpy(lock.Data(), bytes, size);
  }
  if (!SetClipboardData(format, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}

// The clipboard's text, read no further than its block: a block without
// its terminating zero ends where the block ends.
bool ReadClipboardText(std::u16string& text) {
  if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
    TGlobalLock lock(GetClipboardData(CF_UNICODETEXT));
    if (!lock.Data()) return false;
    const auto* units = static_cast<const char16_t*>(lock.Data());
    const size_t capacity = lock.Size() / sizeof(char16_t);
    text.assign(units, std::find(units, units + capacity, u'\0'));
    return true;
  }
  if (IsClipboardFormatAvailable(CF_TEXT)) {
    TGlobalLock lock(GetClipboardData(CF_TEXT));
    if (!lock.Data()) return false;
    const auto* bytes = static_cast<const char*>(lock.Data());
    const int size = static_cast<int>(std::find(bytes, bytes + lock.Size(), '\0') - bytes);
    const int count = MultiByteToWideChar(CP_ACP, 0, bytes, size, nullptr, 0);
    text.resize(static_cast<size_t>(std::max(count, 0)));
    if (count > 0) MultiByteToWideChar(CP_ACP, 0, bytes, size, reinterpret_cast<wchar_t*>(text.data()), count);
    return true;
  }
  return false;
}

}  // namespace

// --- keys -------------------------------------------------------------------------------------

void TTeCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (key == 0) return;
  if (!HandleEditKey(key, shift)) return;
  SetCaret(caretPos_);
  Invalidate();
}

void TTeCustomEdit::MoveCaret(int target, bool extend) {
  if (!extend) {
    SetSelLength(0);
    SetCaret(target);
    return;
  }
  const int old = caretPos_;
  const int moved = SnapToCharacter(text_, target, target >= old);
  selAnchor_ = moved;
  SetSelLength(selLength_ + (old - moved));
  SetCaret(moved);
  Invalidate();
}

bool TTeCustomEdit::HandleEditKey(uint16_t key, TShiftState shift) {
  const bool withShift = shift.Contains(ssShift);
  const bool withCtrl = shift.Contains(ssCtrl);
  switch (key) {
    case VK_BACK:
    case VK_DELETE:
      if (readOnly_) return true;
      if (SelCount() > 0) {
        if (OnlyShift(shift)) CutToClipboard();
        else DeleteSelection();
      } else {
        RemoveCharacter(key == VK_DELETE);
      }
      return true;
    case VK_END: MoveCaret(static_cast<int>(text_.size()), withShift); return true;
    case VK_HOME: MoveCaret(0, withShift); return true;
    case VK_LEFT:
      MoveCaret(withCtrl ? WordLeft(text_, caretPos_) : PreviousCharacter(text_, caretPos_), withShift);
      return true;
    case VK_RIGHT:
      MoveCaret(withCtrl ? WordRight(text_, caretPos_) : NextCharacter(text_, caretPos_), withShift);
      return true;
    case VK_INSERT:
      if (OnlyCtrl(shift)) CopyToClipboard();
      else if (OnlyShift(shift)) PasteFromClipboard();
      else return false;
      return true;
    default:
      break;
  }
  if (!OnlyCtrl(shift)) return false;
  switch (key) {
    case 'A': case 'a': SelectAll(); return true;
    case 'C': case 'c': CopyToClipboard(); return true;
    case 'V': case 'v': PasteFromClipboard(); return true;
    case 'X': case 'x': CutToClipboard(); return true;
    case 'Z': case 'z': Undo(); return true;
    default: return false;
  }
}

void TTeCustomEdit::KeyPress(char16_t& key) {
  inherited::KeyPress(key);
  if (key == 0) return;
  TypeCharacter(key);
}

void TTeCustomEdit::TypeCharacter(char16_t c) {
  // Control characters (Ctrl+Backspace gives DEL) are commands, not text.
  if (c < 32 || c == 0x7F || readOnly_) return;
  // A character beyond the basic plane arrives as two messages; the pair
  // goes in as one, so that the text never holds half of it.
  if (IsHighSurrogate(c)) {
    pendingHigh_ = c;
    return;
  }
  if (IsLowSurrogate(c)) {
    const char16_t high = std::exchange(pendingHigh_, 0);
    if (high) {
      const char16_t pair[2] = {high, c};
      ReplaceSelection(std::u16string_view(pair, 2));
    }
    return;
  }
  pendingHigh_ = 0;
  ReplaceSelection(std::u16string_view(&c, 1));
}

// --- mouse --------------------------------------------------------------------------------------

void TTeCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  selecting_ = true;
  if (!HasFocus() && CanFocus()) SetFocus();
  SetMouseCapture(true);
  SetCaret(IndexAtX(x));
  SetSelLength(0);
}

void TTeCustomEdit::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  if (!selecting_) return;
  dragX_ = x;
  ScrollWhileDragging();
  const TRect r = TextRect();
  const bool outside = x < r.left || x > r.right;
  if (outside && !dragTimer_ && HandleAllocated()) {
    // Held still past an edge, the text keeps scrolling.
    dragTimer_ = SetTimer(Handle(), kDragScrollTimer, kDragScrollInterval, nullptr) != 0;
  } else if (!outside && dragTimer_) {
    KillTimer(Handle(), kDragScrollTimer);
    dragTimer_ = false;
  }
}

void TTeCustomEdit::ScrollWhileDragging() {
  int target = IndexAtX(dragX_);
  // Past the right edge one more character comes in, so the text scrolls.
  if (dragX_ > TextRect().right) target = NextCharacter(text_, target);
  MoveCaret(target, true);
}

void TTeCustomEdit::WMTimer(TMessage& message) {
  if (message.WParam != kDragScrollTimer) return inherited::WndProc(message);
  if (selecting_) ScrollWhileDragging();
  else if (dragTimer_) {
    KillTimer(Handle(), kDragScrollTimer);
    dragTimer_ = false;
  }
}

void TTeCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) {
    selecting_ = false;
    SetMouseCapture(false);
    if (dragTimer_) {
      KillTimer(Handle(), kDragScrollTimer);
      dragTimer_ = false;
    }
  }
  inherited::MouseUp(button, shift, x, y);
}

void TTeCustomEdit::SelectWordAt() {
  selecting_ = false;
  SetAnchor(WordLeft(text_, caretPos_));
  SetSelLength(WordRight(text_, SelStart()) - SelStart());
  SetCaret(SelStart() + SelCount());
  Invalidate();
}

// --- focus ---------------------------------------------------------------------------------------

void TTeCustomEdit::FocusEnter() {
  inherited::FocusEnter();
  if (HandleAllocated()) {
    caretCreated_ = CreateCaret(Handle(), nullptr, 0, TextRect().Height()) != FALSE;
    PlaceSystemCaret();
    if (caretCreated_) ShowCaret(Handle());
  }
  SetCaret(0);
  if (autoSelect_) SelectAll();
}

void TTeCustomEdit::FocusExit() {
  if (caretCreated_) DestroyCaret();
  caretCreated_ = false;
  pendingHigh_ = 0;
  inherited::FocusExit();
}

// --- clipboard -----------------------------------------------------------------------------------

void TTeCustomEdit::CopyToClipboard() { PlaceSelectionOnClipboard(); }

bool TTeCustomEdit::PlaceSelectionOnClipboard() {
  if (PasswordMode() || SelCount() == 0) return false;
  const std::u16string text = SelText();
  TOpenClipboard clipboard(HandleAllocated() ? Handle() : nullptr);
  if (!clipboard.IsOpen()) return false;
  EmptyClipboard();
  if (WideTextCalls()) return PlaceOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t));
  const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes.data(), size, nullptr, nullptr);
  return PlaceOnClipboard(CF_TEXT, bytes.data(), bytes.size());
}

void TTeCustomEdit::CutToClipboard() {
  // The selection goes only once it is on the clipboard: a clipboard held
  // by another program must not cost the text.
  if (PlaceSelectionOnClipboard()) DeleteSelection();
}

void TTeCustomEdit::PasteFromClipboard() {
  if (readOnly_) return;
  std::u16string text;
  {
    TOpenClipboard clipboard(HandleAllocated() ? Handle() : nullptr);
    if (!clipboard.IsOpen() || !ReadClipboardText(text)) return;
  }
  text = CleanPastedText(text);
  if (text.empty()) return;
  ReplaceSelection(text);
}

// --- input method ----------------------------------------------------------------------------------

void TTeCustomEdit::WMImeStartComposition(TMessage& message) {
  if (HIMC context = ImmGetContext(Handle())) {
    LOGFONTW font{};
    if (GetObjectW(Font()->Handle(), sizeof(font), &font)) ImmSetCompositionFontW(context, &font);
    const TRect r = TextRect();
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_RECT;
    form.ptCurrentPos = {XOfIndex(caretPos_), r.top};
    form.rcArea = {r.left, r.top, r.right, r.bottom};
    ImmSetCompositionWindow(context, &form);
    ImmReleaseContext(Handle(), context);
  }
  inherited::WndProc(message);
}

void TTeCustomEdit::WMImeComposition(TMessage& message) {
  if (!(message.LParam & GCS_RESULTSTR)) return inherited::WndProc(message);
  std::u16string result;
  if (HIMC context = ImmGetContext(Handle())) {
    const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    if (bytes > 0) {
      result.resize(static_cast<size_t>(bytes) / sizeof(char16_t));
      const LONG read = ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
      result.resize(static_cast<size_t>(std::max<LONG>(read, 0)) / sizeof(char16_t));
    }
    ImmReleaseContext(Handle(), context);
  }
  result = CleanPastedText(result);
  for (size_t i = 0; i < result.size();) {
    const size_t n = i + 1 < result.size() && IsHighSurrogate(result[i]) ? 2 : 1;
    ReplaceSelection(std::u16string_view(result).substr(i, n));
    i += n;
  }
  message.Result = 0;
}

// --- context menu ----------------------------------------------------------------------------------

namespace {
constexpr const char* kMenuCaptions[] = {"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"};

bool ClipboardHasText() {
  TOpenClipboard clipboard(nullptr);
  std::u16string text;
  return clipboard.IsOpen() && ReadClipboardText(text) && !CleanPastedText(text).empty();
}
}  // namespace

TTeCustomPopupMenu* TTeCustomEdit::PrepareContextMenu() {
  if (!contextMenu_) {
    contextMenu_ = std::make_unique<TTeCustomPopupMenu>(nullptr);
    TTeCustomItem* root = contextMenu_->Items();
    for (int line = kemUndo; line <= kemSelectAll; ++line) {
      auto item = std::make_unique<TTeCustomItem>(nullptr);
      item->SetCaption(kMenuCaptions[line]);
      root->Add(item.get());
      TTeCustomItem* added = item.release();
      switch (line) {
        case kemUndo: added->OnClick = [this](TTeCustomItem*) { Undo(); }; break;
        case kemCut: added->OnClick = [this](TTeCustomItem*) { CutToClipboard(); }; break;
        case kemCopy: added->OnClick = [this](TTeCustomItem*) { CopyToClipboard(); }; break;
        case kemPaste: added->OnClick = [this](TTeCustomItem*) { PasteFromClipboard(); }; break;
        case kemDelete: added->OnClick = [this](TTeCustomItem*) { DeleteSelection(); }; break;
        case kemSelectAll: added->OnClick = [this](TTeCustomItem*) { SelectAll(); }; break;
        default: break;
      }
    }
  }
  TTeCustomItem* root = contextMenu_->Items();
  const bool selection = SelCount() > 0;
  root->Items(kemUndo)->SetEnabled(!actions_.Empty() && !readOnly_);
  root->Items(kemCut)->SetEnabled(selection && !PasswordMode() && !readOnly_);
  root->Items(kemCopy)->SetEnabled(selection && !PasswordMode());
  root->Items(kemPaste)->SetEnabled(!readOnly_ && ClipboardHasText());
  root->Items(kemDelete)->SetEnabled(selection && !readOnly_);
  root->Items(kemSelectAll)->SetEnabled(SelText() != text_);
  contextMenu_->SetPopupMenuOptions(contextMenuOptions_.get());
  contextMenu_->SetPopupComponent(this);
  return contextMenu_.get();
}

void TTeCustomEdit::WMContextMenu(TMessage& message) {
  if (IsDesigning()) return inherited::WndProc(message);
  TTeCustomPopupMenu* menu = PrepareContextMenu();
  int x = XOfLParam(message.LParam);
  int y = YOfLParam(message.LParam);
  if (x == -1 && y == -1) {
    // From the keyboard: at the caret.
    const TPoint p = ClientToScreen({XOfIndex(caretPos_), TextRect().bottom});
    x = p.x;
    y = p.y;
  }
  TWinControl* form = Parent();
  while (form && form->Parent()) form = form->Parent();
  if (form) form->Perform(CM_CANCELMODE, 0, reinterpret_cast<intptr_t>(this));
  message.Result = 0;
  menu->Popup(x, y);
}

}  // namespace hv
