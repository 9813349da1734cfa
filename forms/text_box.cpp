#include <windows.h>

#include "forms/controls.h"
#include "forms/runtime_detail.h"
#include "forms/text.h"

namespace forms {

void TextBox::Text(std::wstring text) {
  text_ = std::move(text);
  if (window_) ::SetWindowTextW(window_.Get(), WithCrLfLines(text_).c_str());
}

void TextBox::Create(HWND parent) {
  CreateChildWindow(parent, L"EDIT", WithCrLfLines(text_),
                    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                    WS_EX_CLIENTEDGE);
  font_ = CreateFontFor(FontSpec{});
  ::SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

void TextBox::Destroy() {
  Control::Destroy();
  font_.Reset();
}

}  // namespace forms
