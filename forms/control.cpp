#include <windows.h>
#include <windowsx.h>

#include <cwchar>
#include <iterator>
#include <string>

#include "forms/accessible_object.h"
#include "forms/app.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/runtime_detail.h"

namespace forms {

HINSTANCE ThisModule() { return ::GetModuleHandleW(nullptr); }

int ScreenDpi(int axis) {
  const WindowDc screen(nullptr);
  const int dpi = ::GetDeviceCaps(screen.Get(), axis);
  return dpi > 0 ? dpi : 96;
}

std::wstring SystemErrorText(DWORD error) {
  wchar_t text[512] = {};
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, static_cast<DWORD>(std::size(text)),
                                  nullptr);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
  if (length == 0) return L"error " + std::to_wstring(error);
  return std::wstring(text, length);
}

void Trace(const std::wstring& what, DWORD error) {
  const std::wstring line =
      L"forms: " + what + L" (" + std::to_wstring(error) + L": " + SystemErrorText(error) + L")\n";
  ::OutputDebugStringW(line.c_str());
}

UniqueFont CreateFontFor(const FontSpec& spec) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  if (!spec.name.empty()) {
    font.lfHeight = -RoundHalfEven(spec.points * ScreenDpi(LOGPIXELSY) / 72.0);
    font.lfWidth = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = FALSE;
    font.lfCharSet = spec.charset;
    ::wcsncpy(font.lfFaceName, spec.name.c_str(), LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  }
  font.lfUnderline = spec.underline ? TRUE : FALSE;
  return UniqueFont(::CreateFontIndirectW(&font));
}

int16_t ButtonsHeld(WPARAM mouseKeys) {
  return static_cast<int16_t>(((mouseKeys & MK_LBUTTON) ? 1 : 0) |
                              ((mouseKeys & MK_RBUTTON) ? 2 : 0) |
                              ((mouseKeys & MK_MBUTTON) ? 4 : 0));
}

int16_t ShiftState(WPARAM mouseKeys) {
  // Alt never reaches the mouse flags; the keyboard state of this thread knows it.
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  return static_cast<int16_t>(((mouseKeys & MK_SHIFT) ? 1 : 0) |
                              ((mouseKeys & MK_CONTROL) ? 2 : 0) | (alt ? 4 : 0));
}

namespace {

int16_t ChangedButton(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return 2;
    default:
      return 4;
  }
}

void Fire(const MouseEvent& event, int16_t button, int16_t shift, float x, float y) {
  if (event) event(button, shift, x, y);
}

void Fire(const Event& event) {
  if (event) event();
}

}  // namespace

Control::Control(Form& owner) : owner_(owner) {}

Control::~Control() { Control::Destroy(); }

void Control::Left(float twips) { Move(twips, top_, width_, height_); }
void Control::Top(float twips) { Move(left_, twips, width_, height_); }
void Control::Width(float twips) { Move(left_, top_, twips, height_); }
void Control::Height(float twips) { Move(left_, top_, width_, twips); }

void Control::Move(float left, float top, float width, float height) {
  Changing();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Relayout();
}

void Control::Visible(bool visible) {
  if (visible == visible_) return;
  Changing();
  visible_ = visible;
  Relayout();
}

void Control::ToolTipText(std::wstring text) {
  toolTip_ = std::move(text);
  Changed();
}

void Control::Destroy() {
  ForgetAccessible();
  if (window_ && ::GetCapture() == window_.Get()) ::ReleaseCapture();
  window_.Reset();
  clickArmed_ = false;
}

RECT Control::PixelRect() const {
  const int x = TwipsToPixelsX(left_);
  const int y = TwipsToPixelsY(top_);
  return RECT{x, y, x + TwipsToPixelsX(width_), y + TwipsToPixelsY(height_)};
}

void Control::Relayout() {
  if (window_) {
    const RECT r = PixelRect();
    ::SetWindowPos(window_.Get(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | (visible_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) |
                       (owner_.RedrawHeld() ? SWP_NOREDRAW : 0));
  }
  Changed();
}

void Control::Changing() {
  if (Windowless()) Changed();
}

void Control::Changed() { owner_.ControlChanged(*this); }

void Control::CreateChildWindow(HWND parent, const wchar_t* className, const std::wstring& text,
                                DWORD style, DWORD exStyle, void* createParam) {
  const RECT r = PixelRect();
  const DWORD visible = visible_ ? WS_VISIBLE : 0;
  const HWND created = ::CreateWindowExW(exStyle, className, text.c_str(),
                                         style | WS_CHILD | WS_CLIPSIBLINGS | visible, r.left,
                                         r.top, r.right - r.left, r.bottom - r.top, parent,
                                         nullptr, ThisModule(), createParam);
  if (!created) {
    // The form goes on without this control: a blank place, but a working window.
    Trace(L"a control's window could not be created", ::GetLastError());
    return;
  }
  if (window_.Get() != created) window_.Reset(created);  // ours bound itself already
}

void Control::RaiseMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const float x = static_cast<float>(p.x) * Screen::TwipsPerPixelX();
  const float y = static_cast<float>(p.y) * Screen::TwipsPerPixelY();
  const int16_t shift = ShiftState(wParam);
  switch (message) {
    case WM_MOUSEMOVE:
      Fire(MouseMove, ButtonsHeld(wParam), shift, x, y);
      break;
    case WM_LBUTTONDOWN:
      clickArmed_ = true;
      TakeCapture();
      Fire(MouseDown, 1, shift, x, y);
      break;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click: its release ends in MouseUp, never in Click.
      clickArmed_ = false;
      TakeCapture();
      Fire(DblClick);
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      TakeCapture();
      Fire(MouseDown, ChangedButton(message), shift, x, y);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool click = message == WM_LBUTTONUP && clickArmed_ && ContainsPixel(p);
      if (message == WM_LBUTTONUP) clickArmed_ = false;
      Fire(MouseUp, ChangedButton(message), shift, x, y);
      ReleaseCaptureWhenIdle(wParam);
      if (click) Fire(Click);
      break;
    }
    default:
      break;
  }
}

void Control::TakeCapture() {
  if (window_) ::SetCapture(window_.Get());
}

void Control::ReleaseCaptureWhenIdle(WPARAM buttonsHeld) {
  if (ButtonsHeld(buttonsHeld) == 0 && window_ && ::GetCapture() == window_.Get()) {
    ::ReleaseCapture();
  }
}

bool Control::ContainsPixel(POINT p) const {
  const RECT r = PixelRect();
  return p.x >= 0 && p.y >= 0 && p.x < r.right - r.left && p.y < r.bottom - r.top;
}

}  // namespace forms
