#include <windows.h>

#include "forms/app.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/handles.h"
#include "forms/runtime_detail.h"

namespace forms {
namespace {

const wchar_t* PictureBoxClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = WindowBinding::Procedure<PictureBox>;
    cls.hInstance = ThisModule();
    cls.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    cls.lpszClassName = L"FormsPictureBox";
    return ::RegisterClassExW(&cls);
  }();
  return MAKEINTATOM(atom);
}

}  // namespace

void PictureBox::Picture(forms::Picture picture) {
  // The box keeps the picture it is given; the screen needs nothing when the look is the same.
  const bool sameLook = picture.SameLook(picture_);
  picture_ = std::move(picture);
  if (sameLook) return;
  const float oldWidth = width_, oldHeight = height_;
  TakePictureSize();
  if (width_ != oldWidth || height_ != oldHeight) Relayout();
  if (window_) ShowNewLook();
}

// A bitmap is drawn straight onto the box: a paint cycle would draw the same pixels at several
// times the cost. A GIF needs the background under its transparent parts, and a form holding its
// redraw paints everything when it lets go.
void PictureBox::ShowNewLook() {
  HWND window = window_.Get();
  if (owner_.RedrawHeld()) {
    ::InvalidateRect(window, nullptr, TRUE);
    return;
  }
  if (!picture_.Opaque() || !::IsWindowVisible(window)) {
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
    return;
  }
  DrawPicture();
}

void PictureBox::DrawPending() {
  if (window_ && picture_.Opaque() && ::GetUpdateRect(window_.Get(), nullptr, FALSE)) DrawPicture();
}

void PictureBox::DrawPicture() {
  HWND window = window_.Get();
  {
    // Through the window's own procedure, as any drawing of it is, so a subclass sees it too.
    WindowDc dc(window);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  }
  const SIZE size = picture_.SizePixels();
  const RECT drawn{0, 0, size.cx, size.cy};
  ::ValidateRect(window, &drawn);
}

void PictureBox::TakePictureSize() {
  if (!picture_) return;
  const SIZE size = picture_.SizePixels();
  width_ = PixelsToTwipsX(size.cx);
  height_ = PixelsToTwipsY(size.cy);
}

void PictureBox::Create(HWND parent) {
  TakePictureSize();
  CreateChildWindow(parent, PictureBoxClass(), L"", 0, 0, this);
}

HCURSOR PictureBox::Cursor() const {
  if (pointer_ != forms::MousePointer::Custom || !cursorId_) return nullptr;
  return ::LoadCursorW(ThisModule(), MAKEINTRESOURCEW(cursorId_));
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_.Get();
  if (IsMouseMessage(message)) {
    RaiseMouse(message, wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_ERASEBKGND:
      // A bitmap covers the whole box; erasing first would only flicker on every new look.
      if (picture_.Opaque()) return 1;
      break;
    case WM_PAINT:
      PaintWindow();
      return 0;
    case WM_PRINTCLIENT:
      picture_.Render(reinterpret_cast<HDC>(wParam), 0, 0);
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) CaptureLost();
      return 0;
    case WM_GETOBJECT:
      return AnswerGetObject(wParam, lParam);
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        HCURSOR cursor = Cursor();
        ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void PictureBox::PaintWindow() {
  PaintScope paint(window_.Get());
  picture_.Render(paint.Dc(), 0, 0);
}

}  // namespace forms
