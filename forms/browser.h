// The browser host control.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "forms/controls.h"

namespace forms {

// The system's web-browser control, hosted with atl.dll's AtlAxWin.
class WebBrowser : public Control {
 public:
  explicit WebBrowser(Form& owner) : Control(owner) {}
  void Navigate(const std::wstring& address);  // dispatch id 104, the address alone
  // Dispatch id -550; without a document to reload, the last address is navigated to again.
  void Refresh();

 private:
  void Create(HWND parent) override;
  void Destroy() override;
  void Invoke(DISPID id, VARIANTARG* args, UINT count);
  bool HasDocument() const;
  ComPtr<IDispatch> browser_;
  std::wstring lastAddress_;
};

}  // namespace forms
