#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/browser.h"
#include "forms/form.h"
#include "refused_windows.h"
#include "support/station_server.h"

namespace {

// Lines this process writes to the debug output, seen where a debugger would see them.
class DebugOutput {
 public:
  DebugOutput() : handler_(::AddVectoredExceptionHandler(1, Record)) { lines_.clear(); }
  ~DebugOutput() { ::RemoveVectoredExceptionHandler(handler_); }
  static const std::vector<std::wstring>& Lines() { return lines_; }

 private:
  static LONG CALLBACK Record(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& e = *info->ExceptionRecord;
    constexpr DWORD kWideText = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C, raised first when known
    if (e.ExceptionCode == kWideText && e.NumberParameters >= 2) {
      lines_.emplace_back(reinterpret_cast<const wchar_t*>(e.ExceptionInformation[1]));
      wideSeen_ = true;
    } else if (e.ExceptionCode == DBG_PRINTEXCEPTION_C && e.NumberParameters >= 2 && !wideSeen_) {
      const auto* text = reinterpret_cast<const char*>(e.ExceptionInformation[1]);
      lines_.emplace_back(text, text + std::char_traits<char>::length(text));
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }
  static inline std::vector<std::wstring> lines_;
  static inline bool wideSeen_ = false;
  PVOID handler_;
};

class HostForm : public forms::Form {
 public:
  HostForm() : Form({.caption = L"Browser host", .clientWidth = 4800, .clientHeight = 3000}), html(*this) {
    html.Move(45, 60, 4500, 2250);
    Stack({&html});
  }
  forms::WebBrowser html;
};

TEST(WebBrowser, NavigatesAndRefreshesOnceEach) {
  support::LoopbackStationServer server(FORMS_APP_PAGES_DIR);
  ASSERT_TRUE(server.Listening());
  HostForm form;
  form.Show();
  HWND host = form.html.hWnd();
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(::GetParent(host), form.hWnd());

  const std::string path = "/page.htm";
  form.html.Navigate(L"http://127.0.0.1:" + std::to_wstring(server.Port()) + L"/page.htm");
  ASSERT_TRUE(server.WaitForRequests(path, 1, 15000));
  EXPECT_FALSE(server.WaitForRequests(path, 2, 1000));  // a second request gets its chance

  // Under Wine without its HTML engine the control keeps no document: the reload asks again.
  form.html.Refresh();
  EXPECT_TRUE(server.WaitForRequests(path, 2, 15000));
  EXPECT_FALSE(server.WaitForRequests(path, 3, 1000));

  form.Unload();
  EXPECT_FALSE(::IsWindow(host));
}

TEST(WebBrowser, AHostThatCannotBeCreatedLeavesATraceAndAWorkingForm) {
  DebugOutput output;
  HostForm form;
  {
    RefusedWindows refused(L"AtlAxWin");
    form.Show();
  }
  ASSERT_TRUE(form.Loaded());
  EXPECT_TRUE(::IsWindowVisible(form.hWnd()));
  EXPECT_EQ(form.html.hWnd(), nullptr);
  form.html.Navigate(L"http://127.0.0.1:9/");  // nothing to navigate, nothing to fail
  form.html.Refresh();
  ASSERT_EQ(DebugOutput::Lines().size(), 1u);
  EXPECT_EQ(DebugOutput::Lines()[0].rfind(L"forms: ", 0), 0u) << DebugOutput::Lines()[0];
  form.Unload();
  EXPECT_FALSE(form.Loaded());
}

}  // namespace
