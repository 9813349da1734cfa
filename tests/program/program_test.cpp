// The built Sonbrel.exe under Wine with its station server, driven with input the system generates.
#include <gtest/gtest.h>

#include <regex>

#include "resources/resource_ids.h"
#include "support/file_version.h"
#include "support/station_server.h"
#include "support/user_input.h"
#include "support/window_probe.h"

namespace {

using support::ChildProcess, support::WaitFor;

constexpr wchar_t kTitle[] = L"Harlune网络FM播放器";
constexpr char kStationPage[] = "/sonbrel/index3.htm";

ChildProcess StartProgram() { return ChildProcess::Start(L"\"" + std::wstring(SONBREL_EXE) + L"\""); }
std::wstring TextOf(HWND w) {
  wchar_t text[4096] = {};
  ::SendMessageW(w, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
  return text;
}
HWND VisibleChild(HWND parent, const std::wstring& className, const std::wstring& text = L"") {
  for (const auto& child : support::VisibleChildren(parent))
    if (child.className == className && (text.empty() || TextOf(child.window) == text)) return child.window;
  return nullptr;
}
void ClickMiddleOf(HWND w) {
  const RECT r = support::DescribeWindow(w).rect;
  support::MovePointerTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  support::Click();
}

class RunningProgram : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening()) << "port " << SONBREL_TEST_WEB_PORT << " is taken";
    program = StartProgram();
    ASSERT_TRUE(WaitFor([&] { return (splash = support::VisibleWindowOf(program->Id(), L"Form3")); }, 10000));
    ASSERT_TRUE(WaitFor([&] { return (mainWindow = support::VisibleWindowOf(program->Id(), kTitle)); }, 15000));
    ASSERT_TRUE(server.WaitForRequests(kStationPage, 1, 10000));
    ASSERT_TRUE(WaitFor([&] { return !support::LayeredAlpha(mainWindow); }, 5000)) << "still fading in";
  }
  POINT OnScreen(POINT inWindow) {
    const RECT r = support::DescribeWindow(mainWindow).rect;
    return {r.left + inWindow.x, r.top + inWindow.y};
  }
  void ClickAt(POINT inWindow) {
    support::MovePointerTo(OnScreen(inWindow));
    support::Click();
  }
  // The other process paints when it gets to it.
  bool Shows(POINT topLeft, int id) {
    return WaitFor([&] { return support::ScreenShowsBitmap(OnScreen(topLeft), SONBREL_EXE, id); }, 2000);
  }
  bool Is(SIZE size, bool topmost) {
    const support::WindowFacts f = support::DescribeWindow(mainWindow);
    return f.rect.right - f.rect.left == size.cx && f.rect.bottom - f.rect.top == size.cy &&
           ((f.exStyle & WS_EX_TOPMOST) != 0) == topmost;
  }

  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_TEST_WEB_PORT};
  std::optional<ChildProcess> program;
  HWND splash = nullptr, mainWindow = nullptr;
};

TEST_F(RunningProgram, StartsOnceASecondCopyActivatesItAndTheHiddenButtonReloadsThePage) {
  EXPECT_TRUE(::IsWindow(splash) && !::IsWindowVisible(splash)) << "the splash stays loaded, hidden";
  // Something else in front first, so the activation shows.
  HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, {}, {}, {}, {});
  ::SetForegroundWindow(other);
  support::PumpMessages();
  ChildProcess second = StartProgram();
  bool showedAWindow = false;
  ASSERT_TRUE(WaitFor([&] {
    for (HWND w : second.Windows()) showedAWindow |= ::IsWindowVisible(w) != FALSE;
    return second.ExitCode().has_value();
  }, 10000));
  EXPECT_TRUE(!showedAWindow && second.ExitCode() == 0u);
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == mainWindow; }, 3000));
  ::DestroyWindow(other);
  EXPECT_TRUE(!program->ExitCode() && server.Requests(kStationPage) == 1) << "the first runs on, its page loaded once";

  support::MovePointerTo(OnScreen({3, 120}));  // the left edge
  support::DoubleClick();
  HWND refresh = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (refresh = VisibleChild(mainWindow, L"Button")); }, 3000));
  ClickMiddleOf(refresh);
  EXPECT_TRUE(server.WaitForRequests(kStationPage, 2, 10000));
}

TEST_F(RunningProgram, ButtonLooksFollowThePointerAndTheTitleStripDrags) {
  constexpr POINT kMinimize{250, 4}, kMiniMode{268, 4}, kTitleStrip{120, 12};
  support::MovePointerTo(OnScreen({258, 13}));
  EXPECT_TRUE(Shows(kMinimize, IDB_MINIMIZE_NORMAL + 1));
  support::MovePointerTo(OnScreen({276, 13}));
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 1) && Shows(kMinimize, IDB_MINIMIZE_NORMAL));
  support::PressButton();
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 2));
  const POINT grab = OnScreen(kTitleStrip);
  support::MovePointerTo(grab);
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 1)) << "held and moved off: hover";
  support::ReleaseButton();  // off the button: no click
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL));

  const RECT before = support::DescribeWindow(mainWindow).rect;
  support::PressButton();
  for (int step = 1; step <= 4; ++step) support::MovePointerTo({grab.x + 9 * step + 1, grab.y + 6 * step - 1});
  support::ReleaseButton();
  EXPECT_TRUE(WaitFor([&] { return OnScreen({0, 0}).x == before.left + 37 && OnScreen({0, 0}).y == before.top + 23; },
                      3000)) << "moved by the pointer's distance";
}

// A start right after the Yes must run normally, not take the fading copy for a running one.
TEST_F(RunningProgram, PanelMiniBarNotificationAreaAndExitRoundTrips) {
  constexpr POINT kMiniMode{276, 13};
  const struct { POINT button; SIZE size; } steps[] = {
      {{262, 111}, {308, 441}}, {{262, 111}, {308, 161}},  // the playlist tab; then its close face on the same place
      {{262, 111}, {308, 441}}, {{294, 174}, {308, 161}},  // the panel's own close button
      {kMiniMode, {236, 25}},   {{228, 17}, {308, 161}}};  // the mini bar and back
  for (const auto& step : steps) {
    ClickAt(step.button);
    EXPECT_TRUE(WaitFor([&] { return Is(step.size, step.size.cx == 236); }, 3000)) << step.button.x;
  }
  EXPECT_TRUE(Shows({268, 4}, IDB_MINIMODE_NORMAL)) << "the mini-mode button comes back in its normal look";

  ClickAt({258, 13});  // minimize
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(mainWindow); }, 3000));
  // With no tray manager on the display, Wine shows the icons in a window of its own.
  HWND tray = nullptr;
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(tray = ::FindWindowW(nullptr, L"Wine System Tray")); }, 5000));
  POINT firstSlot{10, 10};  // the icons sit in 20-pixel slots of its client area
  ::ClientToScreen(tray, &firstSlot);
  support::MovePointerTo(firstSlot);
  support::DoubleClick();
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(mainWindow) && !::IsWindowVisible(tray); }, 3000));

  ClickAt(kMiniMode);
  ASSERT_TRUE(WaitFor([&] { return Is({236, 25}, true); }, 3000));
  ClickAt({228, 6});  // the mini bar's exit
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = ::FindWindowW(L"#32770", kTitle)) != nullptr; }, 5000)) << "no question";
  EXPECT_EQ(support::WindowCaption(::GetDlgItem(box, 0xFFFF)), L"真的要退出吗？");
  support::PressKey(VK_RETURN);  // Yes is the default
  ChildProcess next = StartProgram();
  bool sawFading = false;
  ASSERT_TRUE(WaitFor([&] {
    if (auto alpha = support::LayeredAlpha(mainWindow)) sawFading |= *alpha > 0 && *alpha < 255;
    return program->ExitCode().has_value();
  }, 5000));
  EXPECT_TRUE(sawFading && program->ExitCode() == 0u);
  EXPECT_TRUE(WaitFor([&] { return support::VisibleWindowOf(next.Id(), kTitle) && !next.ExitCode(); }, 15000));
}

TEST_F(RunningProgram, TheLogoOpensTheAboutWindowAndItsButtonShowsTheHistory) {
  ClickAt({293, 142});
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = ::FindWindowW(nullptr, L"关于 Harlune网络FM播放器")); }, 5000));
  HWND box = VisibleChild(about, L"Edit"), updateLog = VisibleChild(about, L"Button", L"更新日志");
  ASSERT_TRUE(box && updateLog);
  EXPECT_EQ(TextOf(box).rfind(L"Harlune网络FM播放器 使用说明\r\n", 0), 0u) << "the notice first";
  ClickMiddleOf(updateLog);
  // The history, newest first: a dated heading naming the version of the program file.
  const std::wregex dated(L"\\d{4}\\.\\d\\d\\.\\d\\d V.*");
  const std::wstring release = L" V" + support::FileVersionOf(SONBREL_EXE);
  EXPECT_TRUE(WaitFor([&] {
    const std::wstring text = TextOf(box), first = text.substr(0, text.find(L"\r\n"));
    return std::regex_match(first, dated) && first.ends_with(release);
  }, 3000)) << "the history";
  EXPECT_TRUE(::IsWindowVisible(mainWindow));
}

}  // namespace
