#include "forms/form.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "forms/accessible_object.h"
#include "forms/app.h"
#include "forms/runtime_detail.h"

namespace forms {
namespace {

bool IsPress(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsRelease(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

bool IsKey(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

UINT DefaultActionMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"forms.DefaultAction");
  return message;
}

LPARAM PointParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)),
                    static_cast<WORD>(static_cast<int16_t>(y)));
}

}  // namespace

// The persistent drawing surface: a memory DC the program may draw on or select its own bitmap
// into. Our bitmap must leave the DC before either can be deleted.
struct Form::Surface {
  UniqueMemoryDc dc;
  UniqueBitmap bitmap;
  HGDIOBJ original = nullptr;

  Surface(HWND window, COLORREF backColor) {
    RECT client{};
    ::GetClientRect(window, &client);
    const WindowDc screen(window);
    dc.Reset(::CreateCompatibleDC(screen.Get()));
    bitmap.Reset(::CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    original = ::SelectObject(dc.Get(), bitmap.Get());
    UniqueBrush back(::CreateSolidBrush(backColor));
    ::FillRect(dc.Get(), &client, back.Get());
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() { ::SelectObject(dc.Get(), original); }

  // Whatever bitmap is selected now, at its own size.
  void Draw(HDC target) const {
    BITMAP selected{};
    HGDIOBJ current = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    if (!::GetObjectW(current, sizeof(selected), &selected)) return;
    ::BitBlt(target, 0, 0, selected.bmWidth, selected.bmHeight, dc.Get(), 0, 0, SRCCOPY);
  }
};

namespace {

ATOM RegisteredFormClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = WindowBinding::Procedure<Form>;
    cls.hInstance = ThisModule();
    cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    cls.lpszClassName = L"FormsForm";
    return ::RegisterClassExW(&cls);
  }();
  return atom;
}

}  // namespace

Form::Form(FormLayout layout) : layout_(std::move(layout)) {}

// The derived form's controls and timers are gone by now; only the window is left to close.
Form::~Form() {
  controls_.clear();
  timers_.clear();
  captured_ = nullptr;
  if (window_) ::DestroyWindow(window_.Get());
}

Form* Form::FromWindow(HWND window) {
  const HWND root = window ? ::GetAncestor(window, GA_ROOT) : nullptr;
  if (!root || ::GetClassLongPtrW(root, GCW_ATOM) != RegisteredFormClass()) return nullptr;
  return reinterpret_cast<Form*>(::GetWindowLongPtrW(root, GWLP_USERDATA));
}

bool Form::Offer(MSG& message) {
  const auto holder = std::find_if(controls_.begin(), controls_.end(), [&message](const Control* control) {
    const HWND window = control->hWnd();
    return window && (window == message.hwnd || ::IsChild(window, message.hwnd));
  });
  if (holder == controls_.end()) return false;
  if (IsPress(message.message)) {
    (*holder)->Pressed();
    return false;
  }
  return (*holder)->TranslateKey(message);
}

bool OfferToControls(MSG& message) {
  if (!IsKey(message.message) && !IsPress(message.message)) return false;
  Form* form = Form::FromWindow(message.hwnd);
  return form && form->Offer(message);
}

void Form::Bind(HWND window) { window_.Reset(window); }

void Form::Unbind() {
  window_.Release();
  icon_.Reset();
  smallIcon_.Reset();
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsMouseMessage(message)) return OnMouse(message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole client area itself
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_DESTROY:
      TearDown();
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == hWnd() && OnSetCursor(lParam)) return TRUE;
      break;
    case WM_GETOBJECT:
      if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) break;
      if (!accessible_) accessible_ = AccessibleObject::For(*this);
      if (accessible_) return accessible_->Answer(wParam);
      break;
    case WM_CTLCOLORSTATIC:
      // A read-only text box keeps the white of a text field, not the grey of a static.
      ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    default:
      if (message == DefaultActionMessage()) {
        RunDefaultAction(reinterpret_cast<const Control*>(lParam));
        return 0;
      }
      if (message >= 0xC000 && message <= 0xFFFF) Form_RegisteredMessage(message, wParam, lParam);
      break;
  }
  return ::DefWindowProcW(hWnd(), message, wParam, lParam);
}

void Form::Show() {
  if (!Loaded()) Load();
  if (!Loaded()) return;  // Form_Load may have unloaded it again
  ::ShowWindow(hWnd(), SW_SHOW);
  ::BringWindowToTop(hWnd());
  ::SetForegroundWindow(hWnd());
  // A form without tips makes its (topmost) tip window only now, so it shows first; every shown
  // form has one, as Wine's stacking of a topmost main window above it has always counted on.
  tooltips_->MadeWindow();
}

bool Form::Visible() const { return Loaded() && ::IsWindowVisible(hWnd()); }

void Form::Visible(bool visible) {
  if (visible) {
    Show();
  } else if (Loaded()) {
    ::ShowWindow(hWnd(), SW_HIDE);
  }
}

void Form::Unload() {
  if (!Loaded() || inUnload_) return;
  inUnload_ = true;
  int16_t cancel = 0;
  Form_Unload(cancel);
  inUnload_ = false;
  if (cancel == 0) Destroy();
}

void Form::Load() {
  if (!CreateWindowFromLayout()) return;
  LoadIcons();
  for (Timer* timer : timers_) timer->Attach(hWnd());
  tooltips_ = std::make_unique<Tooltips>(hWnd());
  CreateControls();
  if (autoRedraw_) surface_ = std::make_unique<Surface>(hWnd(), layout_.backColor);
  Form_Load();
}

DWORD Form::Style() const {
  const DWORD frame = layout_.border == BorderStyle::None ? WS_POPUP : WS_CAPTION | WS_SYSMENU;
  return frame | WS_CLIPCHILDREN;
}

DWORD Form::ExStyle() const {
  if (!layout_.showInTaskbar) return WS_EX_TOOLWINDOW;
  return layout_.border == BorderStyle::None ? WS_EX_APPWINDOW : 0;
}

SIZE Form::FrameSize() const {
  RECT r{0, 0, 0, 0};
  ::AdjustWindowRectEx(&r, Style(), FALSE, ExStyle());
  return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT Form::InitialRect() const {
  const SIZE frame = FrameSize();
  const int cx = TwipsToPixelsX(layout_.clientWidth) + frame.cx;
  const int cy = TwipsToPixelsY(layout_.clientHeight) + frame.cy;
  POINT origin{TwipsToPixelsX(layout_.left), TwipsToPixelsY(layout_.top)};
  if (layout_.startUpPosition == StartUpPosition::CenterScreen) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    origin = POINT{work.left + (work.right - work.left - cx) / 2,
                   work.top + (work.bottom - work.top - cy) / 2};
  }
  return RECT{origin.x, origin.y, origin.x + cx, origin.y + cy};
}

bool Form::CreateWindowFromLayout() {
  const RECT r = InitialRect();
  createError_.reset();
  const HWND created = ::CreateWindowExW(
      ExStyle(), MAKEINTATOM(RegisteredFormClass()), layout_.caption.c_str(), Style(), r.left,
      r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, ThisModule(), this);
  if (created) return true;
  createError_ = ::GetLastError();
  Trace(L"a form's window could not be created", *createError_);
  return false;
}

void Form::LoadIcons() {
  if (layout_.iconResourceId == 0) return;
  const auto load = [this](int sizeMetricX, int sizeMetricY) {
    return UniqueIcon(static_cast<HICON>(::LoadImageW(
        ThisModule(), MAKEINTRESOURCEW(layout_.iconResourceId), IMAGE_ICON,
        ::GetSystemMetrics(sizeMetricX), ::GetSystemMetrics(sizeMetricY), 0)));
  };
  icon_ = load(SM_CXICON, SM_CYICON);
  smallIcon_ = load(SM_CXSMICON, SM_CYSMICON);
  ::SendMessageW(hWnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
  ::SendMessageW(hWnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

void Form::CreateControls() {
  for (Control* control : controls_) {
    control->Create(hWnd());
    tooltips_->Sync(*control);
  }
  StackChildWindows();
}

void Form::Stack(std::vector<Control*> frontToBack) {
  controls_ = std::move(frontToBack);
  if (!Loaded()) return;
  StackChildWindows();
  ::InvalidateRect(hWnd(), nullptr, TRUE);  // windowless controls paint in the new order too
}

// New child windows do not reliably land in creation order; the layout's order is the truth.
void Form::StackChildWindows() {
  HWND above = HWND_TOP;
  for (Control* control : controls_) {
    HWND window = control->hWnd();
    if (!window) continue;
    ::SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = window;
  }
}

void Form::Destroy() {
  if (Loaded()) ::DestroyWindow(hWnd());
}

// Runs on WM_DESTROY, so a window closed behind our back is torn down the same way.
void Form::TearDown() {
  captured_ = nullptr;
  if (accessible_) accessible_->Disconnect();
  accessible_.Reset();
  tooltips_.reset();
  for (Timer* timer : timers_) timer->Detach();
  for (Control* control : controls_) control->Destroy();
  surface_.reset();
}

std::vector<Control*> Form::AccessibleParts() const {
  std::vector<Control*> parts;
  for (Control* control : controls_) {
    if (control->Windowless() && control->Accessibility().role != AccessibleRole::None) parts.push_back(control);
  }
  return parts;
}

void Form::PostDefaultAction(Control& control) {
  ::PostMessageW(hWnd(), DefaultActionMessage(), 0, reinterpret_cast<LPARAM>(&control));
}

// Only a control the form still holds, and only while the user could click it too.
void Form::RunDefaultAction(const Control* control) {
  const auto held = std::find(controls_.begin(), controls_.end(), control);
  if (held == controls_.end() || !(*held)->ShownToUser() || !(*held)->Click) return;
  (*held)->Click();
}

void Form::RemoveTimer(Timer& timer) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), &timer), timers_.end());
}

void Form::ControlChanged(const Control& control) {
  if (!Loaded()) return;
  if (control.Windowless()) {
    const RECT r = control.PixelRect();
    ::InvalidateRect(hWnd(), &r, TRUE);
  }
  if (tooltips_) tooltips_->Sync(control);
}

void Form::Caption(std::wstring caption) {
  layout_.caption = std::move(caption);
  if (Loaded()) ::SetWindowTextW(hWnd(), layout_.caption.c_str());
}

void Form::AutoRedraw(bool on) {
  autoRedraw_ = on;
  if (!Loaded()) return;
  if (on && !surface_) surface_ = std::make_unique<Surface>(hWnd(), layout_.backColor);
  if (!on) surface_.reset();
  ::InvalidateRect(hWnd(), nullptr, TRUE);
}

HDC Form::hDC() const { return surface_ ? surface_->dc.Get() : nullptr; }

RECT Form::WindowRect() const {
  if (!Loaded()) return InitialRect();
  RECT r{};
  ::GetWindowRect(hWnd(), &r);
  return r;
}

float Form::Left() const { return PixelsToTwipsX(WindowRect().left); }
float Form::Top() const { return PixelsToTwipsY(WindowRect().top); }
float Form::Width() const {
  const RECT r = WindowRect();
  return PixelsToTwipsX(r.right - r.left);
}
float Form::Height() const {
  const RECT r = WindowRect();
  return PixelsToTwipsY(r.bottom - r.top);
}

void Form::Left(float twips) {
  if (!Loaded()) {
    layout_.left = twips;
    layout_.startUpPosition = StartUpPosition::Manual;
    return;
  }
  const RECT r = WindowRect();
  MoveTo(TwipsToPixelsX(twips), r.top, r.right - r.left, r.bottom - r.top);
}

void Form::Top(float twips) {
  if (!Loaded()) {
    layout_.top = twips;
    layout_.startUpPosition = StartUpPosition::Manual;
    return;
  }
  const RECT r = WindowRect();
  MoveTo(r.left, TwipsToPixelsY(twips), r.right - r.left, r.bottom - r.top);
}

void Form::Width(float twips) {
  if (!Loaded()) {
    layout_.clientWidth = twips - PixelsToTwipsX(FrameSize().cx);
    return;
  }
  const RECT r = WindowRect();
  MoveTo(r.left, r.top, TwipsToPixelsX(twips), r.bottom - r.top);
}

void Form::Height(float twips) {
  if (!Loaded()) {
    layout_.clientHeight = twips - PixelsToTwipsY(FrameSize().cy);
    return;
  }
  const RECT r = WindowRect();
  MoveTo(r.left, r.top, r.right - r.left, TwipsToPixelsY(twips));
}

// A move to where the window already is changes nothing and is skipped: under Wine it costs as
// much as a real one. Otherwise one full move: a record with SWP_NOMOVE or SWP_NOSIZE would hide
// the real values from a subclassed procedure, and one with SWP_NOMOVE ignores the x and y it
// hands back.
void Form::MoveTo(int x, int y, int cx, int cy) {
  const RECT now = WindowRect();
  if (now.left == x && now.top == y && now.right - now.left == cx && now.bottom - now.top == cy) return;
  ::MoveWindow(hWnd(), x, y, cx, cy, RedrawHeld() ? FALSE : TRUE);
}

Form::RedrawHold::RedrawHold(Form& form) : form_(form) { ++form_.redrawHolds_; }

// What changed while held asked for no painting, so the whole face is painted, once: the
// controls that can draw at once do, the rest through their paint messages.
Form::RedrawHold::~RedrawHold() {
  if (--form_.redrawHolds_ > 0 || !form_.Loaded()) return;
  ::RedrawWindow(form_.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  for (Control* control : form_.controls_) control->DrawPending();
  ::RedrawWindow(form_.hWnd(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Form::Paint() {
  PaintScope paint(hWnd());
  RECT client{};
  ::GetClientRect(hWnd(), &client);
  // Drawn off screen first, so the labels never blink over the pictures under them.
  UniqueMemoryDc buffer(::CreateCompatibleDC(paint.Dc()));
  UniqueBitmap pixels(::CreateCompatibleBitmap(paint.Dc(), client.right, client.bottom));
  {
    SelectedObject selected(buffer.Get(), pixels.Get());
    UniqueBrush back(::CreateSolidBrush(layout_.backColor));
    ::FillRect(buffer.Get(), &client, back.Get());
    if (surface_) surface_->Draw(buffer.Get());
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
      if ((*it)->Windowless() && (*it)->Visible()) (*it)->Paint(buffer.Get());
    }
    const RECT& dirty = paint.Dirty();
    ::BitBlt(paint.Dc(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
             buffer.Get(), dirty.left, dirty.top, SRCCOPY);
  }
}

Control* Form::WindowlessAt(POINT clientPixel) const {
  for (Control* control : controls_) {
    if (!control->Windowless() || !control->TakesMouse() || !control->Visible()) continue;
    const RECT r = control->PixelRect();
    if (::PtInRect(&r, clientPixel)) return control;
  }
  return nullptr;
}

// Windowless controls get the form's mouse messages moved to their own origin; the pressed one
// keeps them, through the form's capture, until the last button comes up.
LRESULT Form::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  if (tooltips_) tooltips_->Relay(message, wParam, lParam);
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  Control* target = captured_ ? captured_ : WindowlessAt(p);
  if (target && IsPress(message) && !captured_) {
    captured_ = target;
    ::SetCapture(hWnd());
  }
  if (target) {
    const RECT r = target->PixelRect();
    target->RaiseMouse(message, wParam, PointParam(p.x - r.left, p.y - r.top));
  } else if (message == WM_MOUSEMOVE) {
    Form_MouseMove(ButtonsHeld(wParam), ShiftState(wParam),
                   static_cast<float>(p.x) * Screen::TwipsPerPixelX(),
                   static_cast<float>(p.y) * Screen::TwipsPerPixelY());
  }
  if (captured_ && IsRelease(message) && ButtonsHeld(wParam) == 0) {
    captured_ = nullptr;
    if (::GetCapture() == hWnd()) ::ReleaseCapture();
  }
  return 0;
}

// Whoever took the capture away also took the press: the control under it must not click.
void Form::OnCaptureChanged(HWND newCapture) {
  if (newCapture == hWnd() || !captured_) return;
  captured_->CaptureLost();
  captured_ = nullptr;
}

bool Form::OnSetCursor(LPARAM lParam) {
  if (LOWORD(lParam) != HTCLIENT) return false;
  POINT p{};
  ::GetCursorPos(&p);
  ::ScreenToClient(hWnd(), &p);
  const Control* control = captured_ ? captured_ : WindowlessAt(p);
  HCURSOR cursor = control ? control->Cursor() : nullptr;
  if (!cursor) return false;
  ::SetCursor(cursor);
  return true;
}

void Form::OnTimer(UINT_PTR id) {
  const auto found = std::find_if(timers_.begin(), timers_.end(),
                                  [id](const Timer* timer) { return timer->Id() == id; });
  if (found == timers_.end()) return;
  // A tick already queued when the timer was stopped is dropped.
  Timer& timer = **found;
  if (timer.Enabled() && timer.Interval() > 0 && timer.Tick) timer.Tick();
}

void Form::OnCommand(WPARAM wParam, LPARAM lParam) {
  const auto from = reinterpret_cast<HWND>(lParam);
  if (!from) return;
  for (Control* control : controls_) {
    if (control->hWnd() == from) {
      control->Notify(HIWORD(wParam));
      return;
    }
  }
}

}  // namespace forms
