#pragma once
// The edit box: a single line of text kept by the control itself (not the
// platform's edit control) with its caret, selection and horizontal
// scrolling, the keyboard, the mouse, the clipboard and the input-method
// editor, a bounded undo stack, password cells and a context menu of the
// themed popup menu. The frame is the control base's bevels and border.
//
// edit.cpp holds the editing and the messages, editinput.cpp the keys, the
// mouse, the clipboard, the input method and the context menu,
// editpaint.cpp measuring and painting.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/extctrls.h"
#include "theme/controls/controlbase.h"
#include "theme/controls/edittext.h"

namespace hv {

class TTeCustomPopupMenu;
class TTePopupMenuOptions;
class TEditCharWidths;

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TPasswordKind : uint8_t { pkNone, pkChar, pkRect, pkRoundRect, pkCircle, pkTriangle };

// The lines of the context menu, in order.
enum TEditMenuLine : uint8_t { kemUndo, kemLine1, kemCut, kemCopy, kemPaste, kemDelete, kemLine2, kemSelectAll };

class TTeCustomEdit : public TTeCustomControl {
  HV_CLASS(TTeCustomEdit, TTeCustomControl)

 public:
  explicit TTeCustomEdit(TComponent* owner);
  ~TTeCustomEdit() override;

  // The text; the framework's Text and SetText carry the same as UTF-8.
  const std::u16string& EditText() const { return text_; }
  void SetEditText(std::u16string value);

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value) { maxLength_ = value < 0 ? 0 : value; }
  TPasswordKind PasswordKind() const { return passwordKind_; }
  void SetPasswordKind(TPasswordKind value);
  int PasswordWideChar() const { return passwordChar_; }
  void SetPasswordWideChar(int value);
  TAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TAlignment value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TTePopupMenuOptions* ContextMenuOptions() const { return contextMenuOptions_.get(); }
  void SetContextMenuOptions(const TTePopupMenuOptions* value);

  // The caret and the selection (see SelStart for how they combine).
  int CaretPos() const { return caretPos_; }
  int SelAnchor() const { return selAnchor_; }
  int SelLength() const { return selLength_; }
  int FirstVisible() const { return firstVisible_; }
  bool Selecting() const { return selecting_; }
  int SelStart() const;
  int SelCount() const { return selLength_ < 0 ? -selLength_ : selLength_; }
  std::u16string SelText() const;
  const TEditActionStack& Actions() const { return actions_; }

  void SetCaret(int index);
  void SetSelLength(int value);
  void SetAnchor(int index);
  void SelectAll();
  // Selects `count` units from `start` with the caret at the end.
  void Select(int start, int count);

  // What typing, pasting and the input method's results go through; refused
  // as a whole past MaxLength.
  void ReplaceSelection(std::u16string_view s);
  // False when there was nothing to undo.
  bool Undo();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void DeleteSelection();

  // Geometry, in client coordinates.
  TRect TextRect();
  int CellWidth();
  int TextWidthOf(int from, int to);
  int XOfIndex(int index);
  int IndexAtX(int x);
  // The selection's rectangle within TextRect, and password cell k's
  // (cell 0 holds the first visible character).
  virtual TRect SelectionRect();
  virtual TRect PasswordCellRect(int cell);

  // The context menu as it would open now, made on first use; the
  // right-click opens it.
  TTeCustomPopupMenu* PrepareContextMenu();
  TTeCustomPopupMenu* ContextMenu() const { return contextMenu_.get(); }

  void Loaded() override;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  std::string GetText() const override;
  void SetTextBuffer(const std::string& value) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void FocusEnter() override;
  void FocusExit() override;
  void BorderChanged() override;

  // Painting, one element each, with the rectangle each one covers.
  void PaintClient() override;
  virtual void PaintTextBackground();
  virtual void PaintSelection();
  virtual void PaintText(bool selectedPart);
  virtual void PaintPasswordCell(const TRect& cell, bool selected);

 private:
  // Keys and mouse.
  void MoveCaret(int target, bool extend);
  bool HandleEditKey(uint16_t key, TShiftState shift);
  void RemoveCharacter(bool forward);
  void SelectWordAt();
  void ScrollWhileDragging();
  // Messages.
  void WMContextMenu(TMessage& message);
  void WMImeStartComposition(TMessage& message);
  void WMImeComposition(TMessage& message);
  void WMGetText(TMessage& message);
  void WMSetText(TMessage& message);
  void WMTimer(TMessage& message);
  // Editing.
  void InsertText(int index, std::u16string_view s, bool select);
  void DeleteText(int position, int count, bool select);
  std::u16string ApplyCharCase(std::u16string value) const;
  void TypeCharacter(char16_t c);
  bool PlaceSelectionOnClipboard();
  // Geometry.
  void ScrollToCaret();
  void PlaceSystemCaret();
  int CharWidthAt(int index);
  int FreeWidth();
  int AlignmentShift();
  int LastVisibleIndex();
  void AdjustHeight();
  bool PasswordMode() const { return passwordKind_ != pkNone; }

  std::u16string text_;
  bool selecting_ = false;
  int caretPos_ = 0;
  int selAnchor_ = 0;
  int selLength_ = 0;
  int firstVisible_ = 1;
  std::unique_ptr<TTeCustomPopupMenu> contextMenu_;
  bool readOnly_ = false;
  bool autoSelect_ = true;
  bool hideSelection_ = true;
  TEditCharCase charCase_ = ecNormal;
  int maxLength_ = 0;
  TPasswordKind passwordKind_ = pkNone;
  int passwordChar_ = 0;
  TAlignment textAlignment_ = TAlignment::taLeftJustify;
  bool autoSize_ = true;
  TEditActionStack actions_;
  std::unique_ptr<TTePopupMenuOptions> contextMenuOptions_;
  std::unique_ptr<TEditCharWidths> widths_;
  char16_t pendingHigh_ = 0;
  bool caretCreated_ = false;
  bool dragTimer_ = false;
  int dragX_ = 0;
};

}  // namespace hv
