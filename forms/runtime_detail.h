// Pieces the runtime's forms and controls share; not for programs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "forms/controls.h"
#include "forms/handles.h"

namespace forms {

HINSTANCE ThisModule();

// Dots per inch of the screen along LOGPIXELSX or LOGPIXELSY.
int ScreenDpi(int axis);

// The system's text for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD error);

// A line on the debug output for what gives up without showing anything to the user.
void Trace(const std::wstring& what, DWORD error);

// Binds an object of ours to its window once, at WM_NCCREATE, from the creation parameter, and
// unbinds it at WM_NCDESTROY; every message in between goes to the object. The procedure runs
// only for windows of our own classes, in our own thread, so the bound pointer is always ours.
// T provides Bind(HWND), Unbind() and HandleMessage(UINT, WPARAM, LPARAM).
class WindowBinding {
 public:
  template <class T>
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* created = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      if (created) created->Bind(window);
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->Unbind();
      return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
  }
};

// A key message goes first to the control of our forms that holds the window it is for (true:
// taken, not to be dispatched); a press lets that control take the focus before the press lands.
bool OfferToControls(MSG& message);

// The client-area mouse messages a control or form turns into events.
inline bool IsMouseMessage(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK;
}

// empty name: the system's message font as it is, only underline and charset applied
UniqueFont CreateFontFor(const FontSpec& spec);

// Buttons and modifier keys as the mouse events carry them.
int16_t ButtonsHeld(WPARAM mouseKeys);
int16_t ShiftState(WPARAM mouseKeys);

// Selects a GDI object for one scope and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { ::SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { ::BeginPaint(window, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { ::EndPaint(window_, &ps_); }
  HDC Dc() const { return ps_.hdc; }
  const RECT& Dirty() const { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
};

// The form's one tooltip window: a tool per control that has a text.
class Tooltips {
 public:
  explicit Tooltips(HWND form);
  // The control's tool follows its text, place and visibility. Unchanged tools are left alone:
  // re-adding one would hide a tip that is showing.
  void Sync(const Control& control);
  // Windowless controls' tools learn of the mouse through the form.
  void Relay(UINT message, WPARAM wParam, LPARAM lParam);
  // The tip window is made with the first tip, or once the form shows: a form without tips (the
  // splash) does not load the common controls before it is on the screen.
  bool MadeWindow();

 private:
  struct Tool {
    HWND window = nullptr;  // nullptr: a rectangle on the form
    RECT rect{};
    std::wstring text;
    bool operator==(const Tool& other) const {
      return window == other.window && ::EqualRect(&rect, &other.rect) && text == other.text;
    }
  };
  void Add(const Control& control, const Tool& tool);
  void Remove(const Control& control, const Tool& tool);

  HWND form_;
  UniqueWindow window_;
  std::map<const Control*, Tool> tools_;
};

}  // namespace forms
