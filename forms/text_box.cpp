#include <windows.h>

#include "forms/controls.h"
#include "forms/runtime_detail.h"

namespace forms {
namespace {

// The edit control breaks lines only at CR LF.
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
    out += text[i];
  }
  return out;
}

}  // namespace

void TextBox::Text(std::wstring text) {
  text_ = std::move(text);
  if (window_) ::SetWindowTextW(window_.Get(), WithCrLf(text_).c_str());
}

void TextBox::Create(HWND parent) {
  CreateChildWindow(parent, L"EDIT", WithCrLf(text_),
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
