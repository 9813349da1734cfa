// What the runtime does when the system refuses it a window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/browser.h"
#include "forms/form.h"

namespace {

// The system refuses to create windows of one class while this lives.
struct RefusedWindows {
  explicit RefusedWindows(const wchar_t* className) { refused = className; }
  ~RefusedWindows() { ::UnhookWindowsHookEx(hook); }
  static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t name[64] = {};
    const bool creating = code == HCBT_CREATEWND && ::GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64);
    return creating && refused == name ? 1 : ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline std::wstring refused;
  HHOOK hook = ::SetWindowsHookExW(WH_CBT, Refuse, nullptr, ::GetCurrentThreadId());
};

class HostForm : public forms::Form {
 public:
  HostForm() : Form({.caption = L"Browser host", .clientWidth = 4800, .clientHeight = 3000}) {
    html.Move(45, 60, 4500, 2250);
    Stack({&html});
  }
  forms::WebBrowser html{*this};
};

// Lines written to the debug output, seen as a debugger sees them (a wide one comes again narrow).
std::vector<std::string> g_debugLines;

LONG CALLBACK RecordDebugOutput(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD& e = *info->ExceptionRecord;
  if (e.ExceptionCode == DBG_PRINTEXCEPTION_C && e.NumberParameters >= 2) {
    g_debugLines.emplace_back(reinterpret_cast<const char*>(e.ExceptionInformation[1]));
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

TEST(RefusedWindows, ABrowserHostThatCannotBeCreatedLeavesATraceAndAWorkingForm) {
  PVOID handler = ::AddVectoredExceptionHandler(1, RecordDebugOutput);
  HostForm form;
  {
    RefusedWindows refused(L"AtlAxWin");
    form.Show();
  }
  EXPECT_TRUE(::IsWindowVisible(form.hWnd()));
  form.html.Navigate(L"http://127.0.0.1:9/");  // nothing to navigate, nothing to fail
  form.html.Refresh();
  ::RemoveVectoredExceptionHandler(handler);
  ASSERT_EQ(g_debugLines.size(), 1u);
  EXPECT_EQ(g_debugLines[0].rfind("forms: ", 0), 0u) << g_debugLines[0];
}

}  // namespace
