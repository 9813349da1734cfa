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
TTTOOLINFOW ToolOf(HWND form, const Control& control) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = form;
  if (HWND own = control.hWnd()) {
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.uId = reinterpret_cast<UINT_PTR>(own);
  } else {
    tool.uId = reinterpret_cast<UINT_PTR>(&control);
    tool.rect = control.PixelRect();
  }
  return tool;
}

}  // namespace

Tooltips::Tooltips(HWND form) : form_(form) {
  InitTooltipClassOnce();
  window_.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                  ThisModule(), nullptr));
}

void Tooltips::Sync(const Control& control) {
  if (!window_) return;
  TTTOOLINFOW tool = ToolOf(form_, control);
  ::SendMessageW(window_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  const bool hasPlace = control.hWnd() != nullptr || control.Windowless();
  if (control.ToolTipText().empty() || !control.Visible() || !hasPlace) return;
  std::wstring text = control.ToolTipText();
  tool.lpszText = text.data();
  ::SendMessageW(window_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::Relay(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window_) return;
  MSG msg{form_, message, wParam, lParam, 0, {}};
  ::SendMessageW(window_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace forms
