#include "forms/browser.h"

#include <ole2.h>
#include <ocidl.h>

#include <atomic>

#include "forms/ole.h"
#include "forms/runtime_detail.h"

namespace forms {
namespace {

constexpr DISPID kDispidNavigate = 104;
constexpr DISPID kDispidRefresh = -550;
constexpr DISPID kDispidDocument = 203;
constexpr DISPID kDispidSilent = 551;
constexpr DISPID kDispidBeforeNavigate2 = 250;
constexpr DISPID kDispidNewWindow3 = 273;
constexpr wchar_t kBrowserProgId[] = L"Shell.Explorer.2";

// The browser's outgoing event interface.
constexpr IID kBrowserEvents = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

// The host's ambient settings as atl.dll's host window offers them.
constexpr IID kAmbientDispatch = {0xB6EA2051, 0x048A, 0x11D1, {0x82, 0xB9, 0x00, 0xC0, 0x4F, 0xB9, 0x94, 0x2E}};
struct IAxWinAmbientDispatch : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE put_AllowWindowlessActivation(VARIANT_BOOL) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AllowWindowlessActivation(VARIANT_BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ForeColor(OLE_COLOR) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ForeColor(OLE_COLOR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_LocaleID(LCID) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LocaleID(LCID*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_UserMode(VARIANT_BOOL) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_UserMode(VARIANT_BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DisplayAsDefault(VARIANT_BOOL) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DisplayAsDefault(VARIANT_BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Font(IFontDisp*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Font(IFontDisp**) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MessageReflect(VARIANT_BOOL) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MessageReflect(VARIANT_BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ShowGrabHandles(VARIANT_BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ShowHatching(VARIANT_BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DocHostFlags(DWORD) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DocHostFlags(DWORD*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DocHostDoubleClickFlags(DWORD) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DocHostDoubleClickFlags(DWORD*) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AllowContextMenu(VARIANT_BOOL) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AllowContextMenu(VARIANT_BOOL*) = 0;
};

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetFn = HRESULT(WINAPI*)(HWND, IUnknown**);

template <class Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

struct AtlHost {
  AtlAxGetFn getControl = nullptr;
  AtlAxGetFn getHost = nullptr;
  bool ready = false;
  DWORD error = ERROR_SUCCESS;  // why it is not ready
};

// atl.dll stays loaded for the process: windows of its class may outlive any owner of ours.
const AtlHost& Atl() {
  static const AtlHost host = [] {
    AtlHost atl;
    HMODULE module = ::LoadLibraryW(L"atl.dll");
    if (!module) {
      atl.error = ::GetLastError();
      return atl;
    }
    const auto init = Export<AtlAxWinInitFn>(module, "AtlAxWinInit");
    atl.getControl = Export<AtlAxGetFn>(module, "AtlAxGetControl");
    atl.getHost = Export<AtlAxGetFn>(module, "AtlAxGetHost");
    atl.ready = init && atl.getControl && init();
    if (!atl.ready) atl.error = ERROR_PROC_NOT_FOUND;
    return atl;
  }();
  return host;
}

template <class T>
ComPtr<T> Query(IUnknown* object, REFIID iid) {
  ComPtr<T> result;
  if (object) object->QueryInterface(iid, reinterpret_cast<void**>(result.Put()));
  return result;
}

bool SameObject(IUnknown* a, IUnknown* b) {
  const ComPtr<IUnknown> identityA = Query<IUnknown>(a, IID_IUnknown);
  const ComPtr<IUnknown> identityB = Query<IUnknown>(b, IID_IUnknown);
  return identityA && identityA.Get() == identityB.Get();
}

// Event arguments come by value or by reference, a string sometimes inside a variant.
std::wstring StringArgument(const VARIANTARG& arg) {
  if (arg.vt == (VT_BYREF | VT_VARIANT) && arg.pvarVal) return StringArgument(*arg.pvarVal);
  const BSTR text = arg.vt == VT_BSTR ? arg.bstrVal : arg.vt == (VT_BYREF | VT_BSTR) ? *arg.pbstrVal : nullptr;
  return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

void SetCancel(VARIANTARG& arg, int16_t cancel) {
  if (arg.vt == (VT_BYREF | VT_BOOL) && arg.pboolVal) *arg.pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
}

bool FocusInside(HWND window) {
  const HWND focus = ::GetFocus();
  return focus && (focus == window || ::IsChild(window, focus));
}

// Receives the browser's events and turns them into the control's.
class EventSink final : public IDispatch {
 public:
  explicit EventSink(WebBrowser& owner) : owner_(&owner) {}
  void Disconnect() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kBrowserEvents) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (!owner_ || !params) return S_OK;
    VARIANTARG* args = params->rgvarg;  // last argument first
    if (id == kDispidBeforeNavigate2 && params->cArgs == 7) {
      BeforeNavigate2(args[6], args[5], args[0]);
    } else if (id == kDispidNewWindow3 && params->cArgs == 5) {
      NewWindow3(args[0], args[3]);
    }
    return S_OK;
  }

 private:
  ~EventSink() = default;

  void BeforeNavigate2(const VARIANTARG& frame, const VARIANTARG& url, VARIANTARG& cancel) {
    if (!owner_->BeforeNavigate2) return;
    const bool topLevel = frame.vt == VT_DISPATCH && SameObject(frame.pdispVal, owner_->Object());
    int16_t Cancel = 0;
    owner_->BeforeNavigate2(StringArgument(url), topLevel, Cancel);
    SetCancel(cancel, Cancel);
  }

  void NewWindow3(const VARIANTARG& url, VARIANTARG& cancel) {
    if (!owner_->NewWindow3) return;
    int16_t Cancel = 0;
    owner_->NewWindow3(StringArgument(url), Cancel);
    SetCancel(cancel, Cancel);
  }

  std::atomic<ULONG> references_{1};
  WebBrowser* owner_;
};

}  // namespace

// The advice given to the browser's connection point, taken back when the control goes.
struct BrowserEvents {
  ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  EventSink* sink = nullptr;

  BrowserEvents(WebBrowser& owner, IUnknown* browser) : sink(new EventSink(owner)) {
    const auto container = Query<IConnectionPointContainer>(browser, IID_IConnectionPointContainer);
    if (container) container->FindConnectionPoint(kBrowserEvents, point.Put());
    if (point && FAILED(point->Advise(sink, &cookie))) point.Reset();
    if (!point) Trace(L"the browser's navigation events are not available", ERROR_NOT_SUPPORTED);
  }
  BrowserEvents(const BrowserEvents&) = delete;
  BrowserEvents& operator=(const BrowserEvents&) = delete;
  ~BrowserEvents() {
    sink->Disconnect();
    if (point) point->Unadvise(cookie);
    sink->Release();
  }
};

// Whatever fails here leaves a blank place in a working form, and a line on the debug output.
void OleControl::Create(HWND parent) {
  EnsureOleOnThisThread();
  const AtlHost& atl = Atl();
  if (!atl.ready) {
    Trace(L"the control host is not available: atl.dll", atl.error);
    return;
  }
  // The host window creates the control named by its text.
  CreateChildWindow(parent, L"AtlAxWin", classId_, 0);
  if (!hWnd()) return;
  const HRESULT got = atl.getControl(hWnd(), object_.Put());
  if (FAILED(got) || !object_) {
    object_.Reset();
    Trace(L"the control host holds no control: " + classId_, static_cast<DWORD>(FAILED(got) ? got : E_POINTER));
    return;
  }
  Hosted(hWnd());
}

void OleControl::Destroy() {
  // The control goes before its host window does.
  object_.Reset();
  Control::Destroy();
}

// The in-place active object sees keys before the window they were sent to, as in any OLE
// container: a browser moves through its page with Tab and copies with Ctrl+C.
bool OleControl::TranslateKey(MSG& message) {
  const auto active = Query<IOleInPlaceActiveObject>(object_.Get(), IID_IOleInPlaceActiveObject);
  return active && active->TranslateAccelerator(&message) == S_OK;
}

void OleControl::Pressed() {
  if (!object_ || FocusInside(hWnd())) return;
  const auto object = Query<IOleObject>(object_.Get(), IID_IOleObject);
  ComPtr<IOleClientSite> site;
  if (object && SUCCEEDED(object->GetClientSite(site.Put())) && site) {
    RECT place{};
    ::GetClientRect(hWnd(), &place);
    object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site.Get(), 0, hWnd(), &place);
  }
  if (FocusInside(hWnd())) return;
  // An object that did not take the focus itself gets it in its own window.
  const auto window = Query<IOleWindow>(object_.Get(), IID_IOleWindow);
  HWND inPlace = nullptr;
  if (window) window->GetWindow(&inPlace);
  ::SetFocus(inPlace && ::IsChild(hWnd(), inPlace) ? inPlace : hWnd());
}

WebBrowser::WebBrowser(Form& owner) : OleControl(owner, kBrowserProgId) {}

WebBrowser::~WebBrowser() { events_.reset(); }

void WebBrowser::Hosted(HWND host) {
  (void)host;
  Object()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(browser_.Put()));
  if (!browser_) {
    Trace(L"the browser host holds no web-browser control", static_cast<DWORD>(E_NOINTERFACE));
    return;
  }
  events_ = std::make_unique<BrowserEvents>(*this, Object());
  Silent(silent_);
  ApplyHostSettings();
}

void WebBrowser::Destroy() {
  events_.reset();
  browser_.Reset();
  OleControl::Destroy();
}

void WebBrowser::AllowContextMenu(bool allow) {
  allowContextMenu_ = allow;
  ApplyHostSettings();
}

void WebBrowser::ApplyHostSettings() {
  if (!browser_ || !Atl().getHost) return;
  ComPtr<IUnknown> host;
  Atl().getHost(hWnd(), host.Put());
  const auto ambient = Query<IAxWinAmbientDispatch>(host.Get(), kAmbientDispatch);
  if (!ambient) {
    Trace(L"the control host has no ambient settings; the context menu stays as it is",
          static_cast<DWORD>(E_NOINTERFACE));
    return;
  }
  ambient->put_AllowContextMenu(allowContextMenu_ ? VARIANT_TRUE : VARIANT_FALSE);
}

bool WebBrowser::Silent() const {
  if (!browser_) return silent_;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT value;
  ::VariantInit(&value);
  const bool got = SUCCEEDED(browser_->Invoke(kDispidSilent, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                              &none, &value, nullptr, nullptr)) &&
                   value.vt == VT_BOOL;
  return got && value.boolVal != VARIANT_FALSE;
}

void WebBrowser::Silent(bool silent) {
  silent_ = silent;
  if (!browser_) return;
  VARIANTARG value;
  ::VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = silent ? VARIANT_TRUE : VARIANT_FALSE;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  browser_->Invoke(kDispidSilent, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                   nullptr, nullptr);
}

void WebBrowser::Navigate(const std::wstring& address) {
  VARIANTARG url;
  ::VariantInit(&url);
  url.vt = VT_BSTR;
  url.bstrVal = ::SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
  Invoke(kDispidNavigate, &url, 1);
  ::VariantClear(&url);
  lastAddress_ = address;
}

void WebBrowser::Refresh() {
  // A control that kept no document (Wine without its HTML engine, or a load that never got a
  // page) has nothing to reload; asking for the last address again is what a reload means then.
  if (!HasDocument() && !lastAddress_.empty()) {
    Navigate(lastAddress_);
    return;
  }
  Invoke(kDispidRefresh, nullptr, 0);
}

bool WebBrowser::HasDocument() const {
  if (!browser_) return false;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT document;
  ::VariantInit(&document);
  const bool has = SUCCEEDED(browser_->Invoke(kDispidDocument, IID_NULL, LOCALE_USER_DEFAULT,
                                              DISPATCH_PROPERTYGET, &none, &document, nullptr, nullptr)) &&
                   document.vt == VT_DISPATCH && document.pdispVal != nullptr;
  ::VariantClear(&document);
  return has;
}

void WebBrowser::Invoke(DISPID id, VARIANTARG* args, UINT count) {
  if (!browser_) return;
  DISPPARAMS params{args, nullptr, count, 0};
  browser_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                   nullptr);
}

}  // namespace forms
