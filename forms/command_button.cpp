#include <windows.h>

#include "forms/controls.h"
#include "forms/runtime_detail.h"

namespace forms {

void CommandButton::Caption(std::wstring caption) {
  caption_ = std::move(caption);
  if (window_) ::SetWindowTextW(window_.Get(), caption_.c_str());
}

void CommandButton::Font(FontSpec font) {
  fontSpec_ = std::move(font);
  if (!window_) return;
  UniqueFont replaced = CreateFontFor(fontSpec_);
  ::SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(replaced.Get()), TRUE);
  font_ = std::move(replaced);  // the old font goes only once the button has let go of it
}

void CommandButton::Create(HWND parent) {
  CreateChildWindow(parent, L"BUTTON", caption_, BS_PUSHBUTTON | WS_TABSTOP);
  font_ = CreateFontFor(fontSpec_);
  ::SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

void CommandButton::Destroy() {
  Control::Destroy();
  font_.Reset();
}

void CommandButton::Notify(WORD code) {
  if (code == BN_CLICKED && Click) Click();
}

}  // namespace forms
