// The runtime's OLE control host with a control of the test's own: keys go to the in-place active
// object before the window they were sent to.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "forms/forms.h"

namespace {

constexpr CLSID kKeyTakerClass = {0x5B1C9E0A, 0x7D11, 0x4C55, {0x9A, 0x3E, 0x2F, 0x6B, 0x8C, 0x1D, 0x4E, 0x70}};
constexpr wchar_t kKeyTakerClassText[] = L"{5B1C9E0A-7D11-4C55-9A3E-2F6B8C1D4E70}";

std::vector<WPARAM> g_windowKeys;  // WM_KEYDOWN that reached the control's window

LRESULT CALLBACK KeyTakerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) g_windowKeys.push_back(wParam);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

#define STUB(signature, result) \
  HRESULT STDMETHODCALLTYPE signature override { return result; }

// A control, and its own class factory, that takes Tab and declines every other key; it makes its
// window when placed. It lives as long as the test: the host's references are not what ends it.
class KeyTaker final : public IOleObject, public IOleInPlaceActiveObject, public IClassFactory {
 public:
  std::vector<WPARAM> offered;  // WM_KEYDOWN offered to it
  HWND window = nullptr;

  ~KeyTaker() {
    if (window) ::DestroyWindow(window);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown || iid == IID_IOleObject ? static_cast<IOleObject*>(this)
           : iid == IID_IOleInPlaceActiveObject || iid == IID_IOleWindow
               ? static_cast<void*>(static_cast<IOleInPlaceActiveObject*>(this))
           : iid == IID_IClassFactory ? static_cast<IClassFactory*>(this)
                                      : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    return outer ? CLASS_E_NOAGGREGATION : QueryInterface(iid, out);
  }

  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    if (site) site->AddRef();
    if (site_) site_->Release();
    site_ = site;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
    if ((*site = site_)) site_->AddRef();
    return site_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT place) override {
    if (!window && parent && place)
      window = ::CreateWindowExW(0, L"KeyTakerWindow", L"", WS_CHILD | WS_VISIBLE, place->left, place->top,
                                 place->right - place->left, place->bottom - place->top, parent, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override {
    if (message->message != WM_KEYDOWN) return S_FALSE;
    offered.push_back(message->wParam);
    return message->wParam == VK_TAB ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override { return (*out = window) ? S_OK : E_FAIL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override { return *status = 0, S_OK; }
  STUB(GetUserClassID(CLSID*), E_NOTIMPL) STUB(SetHostNames(LPCOLESTR, LPCOLESTR), S_OK) STUB(Close(DWORD), S_OK)
  STUB(Update(), S_OK) STUB(IsUpToDate(), S_OK) STUB(SetExtent(DWORD, SIZEL*), S_OK) STUB(LockServer(BOOL), S_OK)
  STUB(OnFrameWindowActivate(BOOL), S_OK) STUB(OnDocWindowActivate(BOOL), S_OK) STUB(EnableModeless(BOOL), S_OK)
  STUB(ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL), S_OK) STUB(SetMoniker(DWORD, IMoniker*), E_NOTIMPL)
  STUB(GetMoniker(DWORD, DWORD, IMoniker**), E_NOTIMPL) STUB(InitFromData(IDataObject*, BOOL, DWORD), E_NOTIMPL)
  STUB(GetClipboardData(DWORD, IDataObject**), E_NOTIMPL) STUB(EnumVerbs(IEnumOLEVERB**), E_NOTIMPL)
  STUB(GetUserType(DWORD, LPOLESTR*), E_NOTIMPL) STUB(GetExtent(DWORD, SIZEL*), E_NOTIMPL) STUB(Unadvise(DWORD), E_NOTIMPL)
  STUB(Advise(IAdviseSink*, DWORD*), E_NOTIMPL) STUB(EnumAdvise(IEnumSTATDATA**), E_NOTIMPL)
  STUB(SetColorScheme(LOGPALETTE*), E_NOTIMPL) STUB(ContextSensitiveHelp(BOOL), E_NOTIMPL)

 private:
  IOleClientSite* site_ = nullptr;
};

class HostForm : public forms::Form {
 public:
  HostForm() : Form({.caption = L"ole host test", .clientWidth = 3000, .clientHeight = 1500, .left = 1500, .top = 1500}) {
    Taker.Move(150, 150, 1500, 750);
    Stack({&Taker});
  }
  forms::OleControl Taker{*this, kKeyTakerClassText};
};

TEST(OleControlHost, TheControlSeesKeysForItsWindowsFirstAndWhatItDeclinesReachesTheWindow) {
  ::OleInitialize(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = KeyTakerWindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KeyTakerWindow";
  ::RegisterClassW(&windowClass);
  KeyTaker taker;
  DWORD cookie = 0;
  ASSERT_EQ(::CoRegisterClassObject(kKeyTakerClass, static_cast<IClassFactory*>(&taker), CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie),
            S_OK);
  HostForm form;
  form.Show();
  ASSERT_TRUE(taker.window) << "the host never placed the control";
  ::SetFocus(taker.window);
  // Posted input, then the runtime's own loop until it is all handled.
  for (auto [window, key] : {std::pair{taker.window, VK_TAB}, {taker.window, 'M'}, {form.hWnd(), 'X'}})
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
  ::PostQuitMessage(0);
  forms::RunMessageLoop();
  EXPECT_EQ(taker.offered, (std::vector<WPARAM>{VK_TAB, 'M'})) << "X was for the form, not for the control";
  EXPECT_EQ(g_windowKeys, std::vector<WPARAM>{'M'});
  form.Unload();
  ::CoRevokeClassObject(cookie);
}

}  // namespace
