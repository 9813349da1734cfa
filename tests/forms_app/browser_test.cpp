#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/app.h"
#include "forms/browser.h"
#include "forms/form.h"
#include "support/station_server.h"

namespace {

forms::FormLayout HostLayout() {
  forms::FormLayout layout;
  layout.caption = L"Browser host";
  layout.clientWidth = forms::PixelsToTwipsX(320);
  layout.clientHeight = forms::PixelsToTwipsY(200);
  layout.showInTaskbar = false;
  return layout;
}

class HostForm : public forms::Form {
 public:
  HostForm() : Form(HostLayout()), html(*this) {
    html.Move(forms::PixelsToTwipsX(3), forms::PixelsToTwipsY(4), forms::PixelsToTwipsX(300),
              forms::PixelsToTwipsY(150));
    Stack({&html});
  }
  forms::WebBrowser html;
};

// Pumps messages for a while: a request that should not come gets its chance to.
void PumpFor(DWORD milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

TEST(WebBrowser, HostsTheControlAtItsPlaceAndNavigatesAndRefreshesOnce) {
  support::LoopbackStationServer server(FORMS_APP_PAGES_DIR);
  ASSERT_TRUE(server.Listening());
  HostForm form;
  form.Show();
  HWND host = form.html.hWnd();
  ASSERT_NE(host, nullptr);
  wchar_t className[32] = {};
  ::GetClassNameW(host, className, 32);
  EXPECT_STREQ(className, L"AtlAxWin");
  EXPECT_EQ(::GetParent(host), form.hWnd());
  RECT placed{};
  ::GetWindowRect(host, &placed);
  ::MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, 3);
  EXPECT_EQ(placed.top, 4);
  EXPECT_EQ(placed.right - placed.left, 300);
  EXPECT_EQ(placed.bottom - placed.top, 150);

  const std::string path = "/page.htm";
  form.html.Navigate(L"http://127.0.0.1:" + std::to_wstring(server.Port()) + L"/page.htm");
  ASSERT_TRUE(server.WaitForRequests(path, 1, 15000));
  PumpFor(1000);
  EXPECT_EQ(server.Requests(path), 1);

  // Under Wine without its HTML engine the control keeps no document: the reload asks again.
  form.html.Refresh();
  EXPECT_TRUE(server.WaitForRequests(path, 2, 15000));
  PumpFor(1000);
  EXPECT_EQ(server.Requests(path), 2);

  form.html.Visible(false);
  EXPECT_FALSE(::IsWindowVisible(host));
  form.Unload();
  EXPECT_FALSE(::IsWindow(host));
}

}  // namespace
