#include "forms/browser.h"

#include <ole2.h>

#include "forms/ole.h"
#include "forms/runtime_detail.h"

namespace forms {
namespace {

constexpr DISPID kDispidNavigate = 104;
constexpr DISPID kDispidRefresh = -550;
constexpr DISPID kDispidDocument = 203;
constexpr wchar_t kBrowserProgId[] = L"Shell.Explorer.2";

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

template <class Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

struct AtlHost {
  AtlAxGetControlFn getControl = nullptr;
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
    atl.getControl = Export<AtlAxGetControlFn>(module, "AtlAxGetControl");
    atl.ready = init && atl.getControl && init();
    if (!atl.ready) atl.error = ERROR_PROC_NOT_FOUND;
    return atl;
  }();
  return host;
}

}  // namespace

// Whatever fails here leaves a blank place in a working form, and a line on the debug output.
void WebBrowser::Create(HWND parent) {
  EnsureOleOnThisThread();
  const AtlHost& atl = Atl();
  if (!atl.ready) {
    Trace(L"the browser host is not available: atl.dll", atl.error);
    return;
  }
  // The host window creates the control named by its text.
  CreateChildWindow(parent, L"AtlAxWin", kBrowserProgId, 0);
  if (!hWnd()) return;
  ComPtr<IUnknown> control;
  const HRESULT got = atl.getControl(hWnd(), control.Put());
  if (SUCCEEDED(got) && control) {
    control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(browser_.Put()));
  }
  if (!browser_) {
    const HRESULT why = FAILED(got) ? got : E_NOINTERFACE;
    Trace(L"the browser host holds no web-browser control", static_cast<DWORD>(why));
  }
}

void WebBrowser::Destroy() {
  // The control goes before its host window does.
  browser_.Reset();
  Control::Destroy();
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
