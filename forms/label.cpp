#include <windows.h>

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/runtime_detail.h"

namespace forms {

void Label::Caption(std::wstring caption) {
  caption_ = std::move(caption);
  Changed();
}

void Label::ForeColor(COLORREF color) {
  foreColor_ = color;
  Changed();
}

void Label::Font(FontSpec font) {
  fontSpec_ = std::move(font);
  if (font_) font_ = CreateFontFor(fontSpec_);
  Changed();
}

void Label::Create(HWND) { font_ = CreateFontFor(fontSpec_); }

void Label::Destroy() {
  Control::Destroy();
  font_.Reset();
}

void Label::Paint(HDC dc) const {
  RECT r = PixelRect();
  SelectedObject font(dc, font_.Get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, foreColor_);
  ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

HCURSOR Label::Cursor() const {
  return cursorId_ ? ::LoadCursorW(ThisModule(), MAKEINTRESOURCEW(cursorId_)) : nullptr;
}

}  // namespace forms
