#include "framework/memo.h"

#include <windows.h>

#include "framework/graphics.h"
#include "framework/line_store.h"
#include "framework/properties.h"
#include "framework/winstring.h"

namespace hv {

// The memo's lines. With a window they are the control's text; without one,
// or while an update batch runs, they are kept here and handed to the
// control in one piece, so that filling a memo line by line stays linear.
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TMemo* memo) : memo_(memo) {}

  int Count() const override {
    if (!Live()) return cache_.Count();
    HWND wnd = memo_->HandleIfAllocated();
    int count = static_cast<int>(SendMessageW(wnd, EM_GETLINECOUNT, 0, 0));
    // The control counts an empty line after a final line break.
    if (count > 0 && SendMessageW(wnd, EM_LINELENGTH, SendMessageW(wnd, EM_LINEINDEX, count - 1, 0), 0) == 0)
      --count;
    return count;
  }

  std::string Get(int index) const override {
    if (!Live()) {
      if (index < 0 || index >= cache_.Count()) return {};
      return Clip(cache_.Get(index));
    }
    // Read through the ANSI door of the control with a 4,096-byte buffer,
    // as the platform's line reading has always worked for this list.
    char buffer[4096];
    *reinterpret_cast<WORD*>(buffer) = sizeof(buffer);
    LRESULT length =
        SendMessageA(memo_->HandleIfAllocated(), EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    if (index < 0 || length <= 0) return {};
    return AnsiToUtf8(std::string_view(buffer, static_cast<size_t>(std::min<LRESULT>(length, sizeof(buffer)))));
  }

  void Put(int index, const std::string& text) override {
    if (!Live()) {
      if (index < 0 || index >= cache_.Count()) Error(index);
      cache_.Put(index, text);
      return;
    }
    HWND wnd = memo_->HandleIfAllocated();
    LRESULT start = SendMessageW(wnd, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    if (start < 0) Error(index);
    LRESULT length = SendMessageW(wnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    SendMessageW(wnd, EM_SETSEL, static_cast<WPARAM>(start), start + length);
    SendMessageW(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  }

  void Insert(int index, const std::string& text) override {
    if (!Live()) {
      if (index < 0 || index > cache_.Count()) Error(index);
      cache_.Insert(index, text);
      return;
    }
    HWND wnd = memo_->HandleIfAllocated();
    int count = Count();
    if (index < 0 || index > count) Error(index);
    std::wstring insert;
    LRESULT at;
    if (index < count) {
      at = SendMessageW(wnd, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
      insert = Widen(text) + L"\r\n";
    } else {
      at = GetWindowTextLengthW(wnd);
      bool needsBreak = at > 0 && !EndsWithBreak(wnd);
      insert = (needsBreak ? L"\r\n" : L"") + Widen(text) + L"\r\n";
    }
    SendMessageW(wnd, EM_SETSEL, static_cast<WPARAM>(at), at);
    SendMessageW(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(insert.c_str()));
  }

  void Delete(int index) override {
    if (!Live()) {
      if (index < 0 || index >= cache_.Count()) Error(index);
      cache_.Delete(index);
      return;
    }
    HWND wnd = memo_->HandleIfAllocated();
    LRESULT start = SendMessageW(wnd, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    if (start < 0) Error(index);
    LRESULT next = SendMessageW(wnd, EM_LINEINDEX, static_cast<WPARAM>(index + 1), 0);
    if (next < 0) next = GetWindowTextLengthW(wnd);
    SendMessageW(wnd, EM_SETSEL, static_cast<WPARAM>(start), next);
    SendMessageW(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L""));
  }

  void Clear() override {
    if (!Live()) {
      cache_.Clear();
      return;
    }
    SetWindowTextW(memo_->HandleIfAllocated(), L"");
  }

  std::string Text() const override {
    if (!Live()) return TStrings::Text();
    return memo_->GetText();
  }

  void SetText(std::string_view text) override {
    if (!Live()) {
      BeginUpdate();
      cache_.Assign(text);
      EndUpdate();
      return;
    }
    SetWindowTextW(memo_->HandleIfAllocated(), Widen(NormalizeBreaks(text)).c_str());
  }

  void AdoptText(std::string&& text) override {
    if (Live()) return SetText(text);
    BeginUpdate();
    cache_.Adopt(std::move(text));
    EndUpdate();
  }

  // The window is about to go: keep what it holds.
  void Capture() {
    if (!memo_->HandleAllocated() || pending_) return;
    TStringList lines;
    lines.SetText(memo_->GetText());
    cache_.Clear();
    for (int i = 0; i < lines.Count(); ++i) cache_.Insert(i, lines.Get(i));
  }

  // Gives the control the kept lines. A hidden memo gets them only when
  // something looks at the control itself: a long list costs the control
  // far more to take in than to keep here.
  void Flush() {
    if (!memo_->HandleAllocated()) return;
    pending_ = false;
    // Each line ends with a break, as when added one by one.
    const std::wstring text = Widen(cache_.Text());
    cache_.Clear();
    SetWindowTextW(memo_->HandleIfAllocated(), text.c_str());
  }

  void FlushLater() {
    if (!memo_->HandleAllocated()) return;
    if (memo_->Visible()) Flush();
    else pending_ = true;
  }

  bool Pending() const { return pending_; }

 protected:
  void SetUpdateState(bool updating) override {
    if (!memo_->HandleAllocated()) return;
    if (updating) {
      Capture();
      batching_ = true;
      SendMessageW(memo_->HandleIfAllocated(), WM_SETREDRAW, FALSE, 0);
    } else {
      batching_ = false;
      FlushLater();
      SendMessageW(memo_->HandleIfAllocated(), WM_SETREDRAW, TRUE, 0);
      InvalidateRect(memo_->HandleIfAllocated(), nullptr, TRUE);
    }
  }

 private:
  bool Live() const { return memo_->HandleAllocated() && !batching_ && !pending_; }

  static std::string Clip(std::string_view line) {
    // Within the limit in UTF-8, within it in any code page.
    if (line.size() <= 4096) return std::string(line);
    std::string ansi = Utf8ToAnsi(line);
    if (ansi.size() <= 4096) return std::string(line);
    return AnsiToUtf8(std::string_view(ansi).substr(0, 4096));
  }

  static bool EndsWithBreak(HWND wnd) {
    int length = GetWindowTextLengthW(wnd);
    if (length < 2) return false;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(wnd, text.data(), length + 1);
    return text[static_cast<size_t>(length) - 1] == L'\n';
  }

  static std::string NormalizeBreaks(std::string_view text) {
    TStringList lines;
    lines.SetText(text);
    std::string out;
    for (int i = 0; i < lines.Count(); ++i) {
      if (i) out += "\r\n";
      out += lines.Get(i);
    }
    return out;
  }

  TMemo* memo_;
  TLineStore cache_;
  bool batching_ = false;
  bool pending_ = false;  // the lines here are newer than the control's text
};

TMemo::TMemo(TComponent* owner) : TWinControl(owner), lines_(std::make_unique<TMemoStrings>(this)) {
  SetBounds(Left(), Top(), 185, 89);
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBorderStyle(TBorderStyle::bsSingle);
}

TMemo::~TMemo() {
  Destroying();
  DestroyComponents();
  DestroyHandle();
}

void TMemo::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClassName = L"EDIT";
  params.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_WANTRETURN;
  if (!wordWrap_ || scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth)
    params.style |= ES_AUTOHSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) params.style |= WS_VSCROLL;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) params.style |= WS_HSCROLL;
  if (readOnly_) params.style |= ES_READONLY;
  params.caption.clear();
}

void TMemo::CreateWnd() {
  TWinControl::CreateWnd();
  // No length limit beyond memory: a path list can be long.
  SendMessageW(HandleIfAllocated(), EM_SETLIMITTEXT, 0, 0);
  static_cast<TMemoStrings*>(lines_.get())->FlushLater();
}

void TMemo::DestroyWnd() {
  static_cast<TMemoStrings*>(lines_.get())->Capture();  // kept lines stay kept
  TWinControl::DestroyWnd();
}

void TMemo::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  RecreateWnd();
}

void TMemo::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  RecreateWnd();
}

void TMemo::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), EM_SETREADONLY, value, 0);
}

// Messages that neither read nor show the control's text.
static bool LeavesTextAlone(uint32_t msg) {
  switch (msg) {
    case WM_SETTEXT:  // replaces it anyway
    case WM_SETFONT:
    case WM_SETREDRAW:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_MOVE:
    case WM_SIZE:
    case WM_NCCALCSIZE:
    case WM_GETMINMAXINFO:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_PARENTNOTIFY:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETFONT:
    case WM_GETDLGCODE:
      return true;
    default:
      return msg >= WM_USER;  // the framework's own notifications
  }
}

void TMemo::WndProc(TMessage& message) {
  auto* lines = static_cast<TMemoStrings*>(lines_.get());
  if (lines->Pending() && !LeavesTextAlone(message.Msg)) lines->Flush();
  switch (message.Msg) {
    case CM_VISIBLECHANGED:
      TWinControl::WndProc(message);
      if (Visible() && lines->Pending()) lines->Flush();
      return;
    case CN_COMMAND:
      if (HIWORD(message.WParam) == EN_CHANGE && OnChange) OnChange(this);
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(message.WParam);
      SetTextColor(dc, ColorToRGB(Font()->Color()));
      SetBkColor(dc, ColorToRGB(Color()));
      message.Result = reinterpret_cast<intptr_t>(Brush()->Handle());
      return;
    }
    default:
      break;
  }
  TWinControl::WndProc(message);
}

void TMemo::PublishProperties(TPropertyList& p) {
  // Starts with a colour of its own, not the parent's.
  p.Color("Color", &TMemo::Color, &TMemo::SetColor, clWindow).stored = [](const TObject& o) {
    return !static_cast<const TControl&>(o).ParentColor();
  };
  p.Boolean("ParentColor", &TMemo::ParentColor, &TMemo::SetParentColor, false);
  p.Boolean("TabStop", &TMemo::TabStop, &TMemo::SetTabStop, true);
  p.Strings("Lines", &TMemo::Lines);
  p.Boolean("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly, false);
  p.Enum("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
         TScrollStyle::ssNone);
  p.Boolean("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap, true);
  p.Event("OnChange", &TMemo::OnChange);
}

}  // namespace hv
