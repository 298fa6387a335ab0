#include "pageview/olebrowser.h"

#include <exdisp.h>
#include <ole2.h>
#include <oleauto.h>

#include <atomic>

#include "framework/lazymodule.h"

namespace hv {

namespace {

// mshtml's HTML document; the one thing a working engine must be able to make.
constexpr GUID kClsidHtmlDocument = {0x25336920, 0x03f9, 0x11cf, {0x8f, 0xd0, 0x00, 0xaa, 0x00, 0x68, 0x6f, 0x13}};

template <typename T>
void ReleaseAndClear(T*& p) {
  if (p) {
    T* q = p;
    p = nullptr;
    q->Release();
  }
}

// A BSTR that frees itself. The automation library comes in with the first
// one: the viewer that shows pages itself never needs it.
class Bstr {
 public:
  explicit Bstr(const std::wstring& text) {
    using TAlloc = BSTR(WINAPI*)(const OLECHAR*, UINT);
    static const auto alloc = OleAut32Module().Entry<TAlloc>("SysAllocStringLen");
    value_ = alloc(text.data(), static_cast<UINT>(text.size()));
  }
  ~Bstr() {
    using TFree = void(WINAPI*)(BSTR);
    // A string was made, so the library is there.
    static const auto release = OleAut32Module().TryEntry<TFree>("SysFreeString");
    if (value_ && release) release(value_);
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return value_; }

 private:
  BSTR value_ = nullptr;
};

}  // namespace

// What the control sees of us: a client site it may activate in place in
// our window, and a frame that has no menus, tool bars or status bar to
// offer. One object answers for all these interfaces.
class TOleBrowser::Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit Site(HWND hwnd) : hwnd_(hwnd) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, shared by the site and the frame
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = hwnd_;
    return hwnd_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                             RECT* clip, OLEINPLACEFRAMEINFO* info) override {
    if (frame) {
      *frame = static_cast<IOleInPlaceFrame*>(this);
      AddRef();
    }
    if (document) *document = nullptr;
    RECT client{};
    if (hwnd_) GetClientRect(hwnd_, &client);
    if (position) *position = client;
    if (clip) *clip = client;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : nullptr;
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // The host window is going: calls that still arrive get no window.
  void Detach() { hwnd_ = nullptr; }

 private:
  ~Site() = default;
  std::atomic<ULONG> refs_{1};
  HWND hwnd_;
};

bool TOleBrowser::EngineAvailable() {
  IUnknown* document = nullptr;
  HRESULT hr = CoCreateInstance(kClsidHtmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&document));
  if (FAILED(hr) || !document) return false;
  document->Release();
  return true;
}

std::unique_ptr<TOleBrowser> TOleBrowser::TryCreate(HWND parent, const RECT& bounds) {
  if (!EngineAvailable()) return nullptr;
  return CreateControl(parent, bounds);
}

std::unique_ptr<TOleBrowser> TOleBrowser::TryCreate(HWND parent) {
  RECT client{};
  if (parent) GetClientRect(parent, &client);
  return TryCreate(parent, client);
}

std::unique_ptr<TOleBrowser> TOleBrowser::CreateControl(HWND parent, const RECT& bounds) {
  std::unique_ptr<TOleBrowser> browser(new TOleBrowser());
  if (!browser->Open(parent, bounds)) return nullptr;  // the destructor undoes what was done
  return browser;
}

bool TOleBrowser::Open(HWND parent, const RECT& bounds) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, kClassName, &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  }
  hwnd_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                          bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                          nullptr, instance, this);
  if (!hwnd_) return false;
  site_ = new Site(hwnd_);

  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&object_))) ||
      !object_)
    return false;
  if (FAILED(object_->SetClientSite(static_cast<IOleClientSite*>(site_)))) return false;
  OleSetContainedObject(object_, TRUE);
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (FAILED(
          object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0, hwnd_, &client)))
    return false;
  if (FAILED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace_)))) inPlace_ = nullptr;
  if (FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_))) || !browser_) return false;
  return true;
}

void TOleBrowser::Close() {
  if (inPlace_) inPlace_->InPlaceDeactivate();
  ReleaseAndClear(inPlace_);
  ReleaseAndClear(browser_);
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    ReleaseAndClear(object_);
  }
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, 0, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  if (site_) {
    site_->Detach();
    site_->Release();
    site_ = nullptr;
  }
}

TOleBrowser::~TOleBrowser() { Close(); }

bool TOleBrowser::Navigate(const std::wstring& path) {
  if (!browser_) return false;
  Bstr url(path);
  if (!url.Get() && !path.empty()) return false;
  VARIANT none{};
  none.vt = VT_EMPTY;  // no flags, no target frame, no post data, no headers
  HRESULT hr = browser_->Navigate(url.Get(), &none, &none, &none, &none);
  if (FAILED(hr)) return false;
  path_ = path;
  if (hwnd_) SetWindowTextW(hwnd_, path_.c_str());
  return true;
}

void TOleBrowser::Resize() {
  if (!inPlace_ || !hwnd_) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  inPlace_->SetObjectRects(&client, &client);
}

LRESULT CALLBACK TOleBrowser::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TOleBrowser*>(GetWindowLongPtrW(hwnd, 0));
  switch (msg) {
    case WM_SIZE:
      if (self) self->Resize();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, 0, 0);
      if (self && self->hwnd_ == hwnd) {
        // Destroyed with its parent before the browser object: the
        // control's windows went with ours; later calls find no window.
        self->hwnd_ = nullptr;
        if (self->site_) self->site_->Detach();
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace hv
