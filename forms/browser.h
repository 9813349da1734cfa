// The OLE control host and the browser control on it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "forms/controls.h"

namespace forms {

// A control hosted with atl.dll's AtlAxWin, named by its ProgID or {CLSID}. Keys go to it first
// while the focus is inside it, and a press on it makes it the active object with the focus.
class OleControl : public Control {
 public:
  OleControl(Form& owner, std::wstring classId) : Control(owner), classId_(std::move(classId)) {}
  // The hosted object; nullptr before load or when it could not be created.
  IUnknown* Object() const { return object_.Get(); }

 protected:
  void Create(HWND parent) override;
  void Destroy() override;
  bool TranslateKey(MSG& message) override;
  void Pressed() override;
  // After the object is created and in place.
  virtual void Hosted(HWND host) { (void)host; }

 private:
  std::wstring classId_;
  ComPtr<IUnknown> object_;
};

struct BrowserEvents;

// The system's web-browser control.
class WebBrowser : public OleControl {
 public:
  explicit WebBrowser(Form& owner);
  ~WebBrowser() override;
  void Navigate(const std::wstring& address);  // dispatch id 104, the address alone
  // Dispatch id -550; without a document to reload, the last address is navigated to again.
  void Refresh();
  // Script errors and the control's own dialogs stay unshown while true (dispatch id 551).
  bool Silent() const;
  void Silent(bool silent);
  // Whether the control may open its own context menu over the page; a setting of the host.
  void AllowContextMenu(bool allow);

  // A navigation is about to start; TopLevel is false for a frame inside the page. A non-zero
  // Cancel stops it and the page stays.
  std::function<void(const std::wstring& URL, bool TopLevel, int16_t& Cancel)> BeforeNavigate2;
  // The page asks for a new window; a non-zero Cancel means no window opens.
  std::function<void(const std::wstring& URL, int16_t& Cancel)> NewWindow3;

 private:
  void Hosted(HWND host) override;
  void Destroy() override;
  void ApplyHostSettings();
  void Invoke(DISPID id, VARIANTARG* args, UINT count);
  bool HasDocument() const;
  ComPtr<IDispatch> browser_;
  std::unique_ptr<BrowserEvents> events_;
  std::wstring lastAddress_;
  bool silent_ = false;
  bool allowContextMenu_ = true;
};

}  // namespace forms
