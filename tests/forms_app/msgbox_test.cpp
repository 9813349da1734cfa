#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/app.h"
#include "forms/handles.h"

namespace {

// What the box looked like while it was open, seen from a timer of the same thread.
struct OpenBox {
  int answer = 0;  // the button to press
  HWND otherWindow = nullptr;
  HWND box = nullptr;
  std::wstring caption;
  int defaultButton = 0;
  bool otherWindowEnabled = true;
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
  HWND box = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  ::KillTimer(nullptr, timer);
  open.box = box;
  wchar_t caption[256] = {};
  ::GetWindowTextW(box, caption, 256);
  open.caption = caption;
  for (int button : {IDYES, IDNO}) {
    const LONG_PTR style = ::GetWindowLongPtrW(::GetDlgItem(box, button), GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) open.defaultButton = button;
  }
  open.otherWindowEnabled = ::IsWindowEnabled(open.otherWindow) != FALSE;
  ::SendMessageW(::GetDlgItem(box, open.answer), BM_CLICK, 0, 0);
}

TEST(MsgBox, YesNoIsTaskModalWithYesAsDefaultAndTheAppTitleByDefault) {
  // Another top-level window of this thread: a task-modal box disables it while open.
  // (Each box costs 2 s under Wine without a window manager: it waits for the box to go.)
  forms::UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 50, 50,
                                              nullptr, nullptr, nullptr, nullptr));
  const std::wstring appTitle = L"App title " + std::to_wstring(::GetCurrentProcessId());
  forms::App().Title(appTitle);

  const struct {
    std::wstring title;
    int press;
    std::wstring expectedCaption;
  } cases[] = {
      {L"Own title", IDNO, L"Own title"},
      {L"", IDYES, appTitle},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.expectedCaption));
    OpenBox open;
    open.answer = c.press;
    open.otherWindow = other.Get();
    g_openBox = &open;
    ::SetTimer(nullptr, 0, 20, InspectAndAnswer);

    const int result = forms::MsgBox(L"Leave?", MB_YESNO, c.title);

    g_openBox = nullptr;
    ASSERT_NE(open.box, nullptr);
    EXPECT_EQ(result, c.press);
    EXPECT_EQ(open.caption, c.expectedCaption);
    EXPECT_EQ(open.defaultButton, IDYES);
    EXPECT_FALSE(open.otherWindowEnabled);
    EXPECT_TRUE(::IsWindowEnabled(other.Get()));
  }
  EXPECT_EQ(IDYES, 6);
  EXPECT_EQ(IDNO, 7);
}

}  // namespace
