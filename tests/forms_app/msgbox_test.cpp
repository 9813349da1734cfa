#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/app.h"

namespace {

// What the box looked like while it was open, seen from a timer of the same thread.
struct OpenBox {
  int press = 0;
  HWND box = nullptr;
  std::wstring caption;
  int defaultButton = 0;
};
OpenBox* g_openBox = nullptr;

BOOL CALLBACK FindMessageBox(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK InspectAndAnswer(HWND, UINT, UINT_PTR timer, DWORD) {
  OpenBox& open = *g_openBox;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&open.box));
  if (!open.box) return;
  ::KillTimer(nullptr, timer);
  wchar_t caption[256] = {};
  ::GetWindowTextW(open.box, caption, 256);
  open.caption = caption;
  for (int button : {IDYES, IDNO}) {
    const LONG_PTR style = ::GetWindowLongPtrW(::GetDlgItem(open.box, button), GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) open.defaultButton = button;
  }
  ::SendMessageW(::GetDlgItem(open.box, open.press), BM_CLICK, 0, 0);
}

TEST(MsgBox, YesNoHasYesAsDefaultAndTheAppTitleByDefault) {
  const std::wstring appTitle = L"App title " + std::to_wstring(::GetCurrentProcessId());
  forms::App().Title(appTitle);
  const struct {
    std::wstring title;
    int press, expectedResult;
    std::wstring expectedCaption;
  } cases[] = {{L"Own title", IDNO, 7, L"Own title"}, {L"", IDYES, 6, appTitle}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.expectedCaption));
    OpenBox open;
    open.press = c.press;
    g_openBox = &open;
    ::SetTimer(nullptr, 0, 20, InspectAndAnswer);
    const int result = forms::MsgBox(L"Leave?", MB_YESNO, c.title);
    g_openBox = nullptr;
    ASSERT_NE(open.box, nullptr);
    EXPECT_EQ(result, c.expectedResult);
    EXPECT_EQ(open.caption, c.expectedCaption);
    EXPECT_EQ(open.defaultButton, IDYES);
  }
}

}  // namespace
