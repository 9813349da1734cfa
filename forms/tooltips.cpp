#include <windows.h>
#include <commctrl.h>

#include "forms/runtime_detail.h"

namespace forms {
namespace {

void InitTooltipClassOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES};
    return ::InitCommonControlsEx(&init) != FALSE;
  }();
  (void)done;
}

// The version-5 size: comctl32 5 refuses tools described by the larger record.
TTTOOLINFOW Describe(HWND form, const Control& control, HWND window, const RECT& rect) {
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = form;
  if (window) {
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.uId = reinterpret_cast<UINT_PTR>(window);
  } else {
    info.uId = reinterpret_cast<UINT_PTR>(&control);
    info.rect = rect;
  }
  return info;
}

}  // namespace

Tooltips::Tooltips(HWND form) : form_(form) {}

bool Tooltips::MadeWindow() {
  if (window_) return true;
  InitTooltipClassOnce();
  window_.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr,
                                  ThisModule(), nullptr));
  return static_cast<bool>(window_);
}

void Tooltips::Sync(const Control& control) {
  const bool hasPlace = control.hWnd() != nullptr || control.Windowless();
  const bool wanted = hasPlace && control.Visible() && !control.ToolTipText().empty();
  const auto present = tools_.find(&control);
  if (!wanted) {
    if (present != tools_.end()) Remove(control, present->second);
    return;
  }
  Tool tool{control.hWnd(), control.hWnd() ? RECT{} : control.PixelRect(), control.ToolTipText()};
  if (present != tools_.end()) {
    if (present->second == tool) return;
    Remove(control, present->second);
  }
  Add(control, tool);
}

void Tooltips::Add(const Control& control, const Tool& tool) {
  if (!MadeWindow()) return;
  TTTOOLINFOW info = Describe(form_, control, tool.window, tool.rect);
  std::wstring text = tool.text;
  info.lpszText = text.data();
  ::SendMessageW(window_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  tools_[&control] = tool;
}

void Tooltips::Remove(const Control& control, const Tool& tool) {
  TTTOOLINFOW info = Describe(form_, control, tool.window, tool.rect);
  ::SendMessageW(window_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  tools_.erase(&control);
}

void Tooltips::Relay(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window_) return;
  MSG msg{form_, message, wParam, lParam, 0, {}};
  ::SendMessageW(window_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace forms
