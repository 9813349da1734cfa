#include <string>

#include "resources/resource_ids.h"
#include "running_program.h"
#include "support/gdi_objects.h"

namespace {

using namespace program_testing;

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

SIZE SizeOf(HWND w) {
  RECT r;
  ::GetWindowRect(w, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void ClickMiddleOf(HWND w) {
  RECT r;
  ::GetWindowRect(w, &r);
  support::MovePointerTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  support::Click();
}

bool TopMost(HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST_F(RunningProgram, StartsOnceASecondCopyActivatesItAndTheHiddenButtonReloadsThePage) {
  EXPECT_TRUE(::IsWindow(splash) && !::IsWindowVisible(splash)) << "the splash stays loaded, hidden";
  // Something else in front first, so the activation shows.
  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
  ::SetForegroundWindow(other);
  support::PumpMessages();
  ChildProcess second = StartProgram();
  bool showedAWindow = false;
  ASSERT_TRUE(support::WaitFor([&] {
    for (HWND w : second.Windows()) showedAWindow |= ::IsWindowVisible(w) != FALSE;
    return second.ExitCode().has_value();
  }, 10000));
  EXPECT_FALSE(showedAWindow);
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_TRUE(support::WaitFor([&] { return ::GetForegroundWindow() == mainWindow; }, 3000));
  ::DestroyWindow(other);
  EXPECT_FALSE(program->ExitCode().has_value()) << "the first copy runs on";
  EXPECT_EQ(server.Requests(kStationPage), 1) << "one load, none for the second copy";

  support::MovePointerTo(OnScreen({3, 120}));  // the left edge
  support::DoubleClick();
  HWND refresh = nullptr;
  ASSERT_TRUE(support::WaitFor([&] { return (refresh = VisibleChild(mainWindow, L"Button")); }, 3000));
  ClickMiddleOf(refresh);
  EXPECT_TRUE(server.WaitForRequests(kStationPage, 2, 10000));
}

TEST_F(RunningProgram, ButtonLooksFollowThePointerLeakingNoBitmapsAndTheTitleStripDrags) {
  constexpr POINT kMinimize{250, 4}, kMiniMode{268, 4}, kTitleStrip{120, 12};
  const auto pointAt = [&](POINT button) { support::MovePointerTo(OnScreen({button.x + 8, button.y + 9})); };
  const auto bitmaps = [&] {
    const auto counts = support::CountGdiObjects(program->Handle());
    return counts ? counts->Of(support::GdiObjectType::Bitmap) : -1;
  };
  pointAt(kMinimize);
  EXPECT_TRUE(Shows(kMinimize, IDB_MINIMIZE_NORMAL + 1));
  pointAt(kMiniMode);
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 1));
  EXPECT_TRUE(Shows(kMinimize, IDB_MINIMIZE_NORMAL));
  support::PressButton();
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 2));
  support::MovePointerTo(OnScreen(kTitleStrip));
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 1)) << "held and moved off: hover";
  support::ReleaseButton();  // off the button: no click
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL));

  const int bitmapsBefore = bitmaps();
  ASSERT_GT(bitmapsBefore, 0);
  for (int i = 0; i < 10; ++i) pointAt(i % 2 ? kMinimize : kMiniMode);
  EXPECT_TRUE(Shows(kMinimize, IDB_MINIMIZE_NORMAL + 1));
  EXPECT_EQ(bitmaps(), bitmapsBefore);

  RECT before, after{};
  ::GetWindowRect(mainWindow, &before);
  const POINT grab = OnScreen(kTitleStrip);
  support::MovePointerTo(grab);
  support::PressButton();
  for (int step = 1; step <= 4; ++step) support::MovePointerTo({grab.x + 9 * step + 1, grab.y + 6 * step - 1});
  support::ReleaseButton();
  EXPECT_TRUE(support::WaitFor([&] {
    return ::GetWindowRect(mainWindow, &after) && after.left == before.left + 37 && after.top == before.top + 23;
  }, 3000)) << "moved by " << after.left - before.left << ", " << after.top - before.top;
}

// A start right after the Yes must run normally, not take the fading copy for a running one.
TEST_F(RunningProgram, PanelMiniBarNotificationAreaAndExitRoundTrips) {
  const POINT kPlaylistTab{262, 111}, kClosePlaylist{294, 174}, kMiniMode{276, 13}, kNormalMode{228, 17},
      kMinimize{258, 13}, kMiniExit{228, 6};
  const auto clickAndWaitFor = [&](POINT button, SIZE size) {
    ClickAt(button);
    return support::WaitFor([&] { return SizeOf(mainWindow).cx == size.cx && SizeOf(mainWindow).cy == size.cy; }, 3000);
  };
  EXPECT_TRUE(clickAndWaitFor(kPlaylistTab, {308, 441}));
  EXPECT_TRUE(clickAndWaitFor(kPlaylistTab, {308, 161})) << "the close face lies on the same place";
  ASSERT_TRUE(clickAndWaitFor(kPlaylistTab, {308, 441}));
  EXPECT_TRUE(clickAndWaitFor(kClosePlaylist, {308, 161}));
  EXPECT_TRUE(clickAndWaitFor(kMiniMode, {236, 25}));
  EXPECT_TRUE(TopMost(mainWindow));
  EXPECT_TRUE(clickAndWaitFor(kNormalMode, {308, 161}));
  EXPECT_FALSE(TopMost(mainWindow));
  EXPECT_TRUE(Shows({268, 4}, IDB_MINIMODE_NORMAL)) << "the mini-mode button comes back in its normal look";

  ClickAt(kMinimize);
  ASSERT_TRUE(support::WaitFor([&] { return !::IsWindowVisible(mainWindow); }, 3000));
  // With no tray manager on the display, Wine shows the icons in a window of its own.
  HWND tray = nullptr;
  ASSERT_TRUE(support::WaitFor([&] {
    const auto found = support::FindTopLevelWindows(L"Wine System Tray");
    return (tray = found.empty() ? nullptr : found.front()) && ::IsWindowVisible(tray);
  }, 5000));
  POINT firstSlot{10, 10};  // the icons sit in 20-pixel slots of its client area
  ::ClientToScreen(tray, &firstSlot);
  support::MovePointerTo(firstSlot);
  support::Click();
  Pause();
  EXPECT_FALSE(::IsWindowVisible(mainWindow)) << "a single click does nothing";
  support::DoubleClick();
  EXPECT_TRUE(support::WaitFor([&] { return ::IsWindowVisible(mainWindow) != FALSE; }, 3000));
  EXPECT_TRUE(support::WaitFor([&] { return !::IsWindowVisible(tray); }, 3000)) << "the icon is gone";

  ASSERT_TRUE(clickAndWaitFor(kMiniMode, {236, 25}));
  for (WORD key : {WORD{'N'}, WORD{VK_RETURN}}) {
    Pause();
    ClickAt(kMiniExit);
    HWND box = nullptr;
    ASSERT_TRUE(support::WaitFor([&] {
      for (HWND w : support::TopLevelWindowsOf(program->Id()))
        if (support::WindowClass(w) == L"#32770" && ::IsWindowVisible(w)) box = w;
      return box != nullptr;
    }, 5000)) << "no box";
    EXPECT_EQ(support::WindowCaption(box), kTitle);
    EXPECT_EQ(support::WindowCaption(::GetDlgItem(box, 0xFFFF)), L"真的要退出吗？");
    support::PressKey(key);
    EXPECT_TRUE(support::WaitFor([&] { return !::IsWindow(box); }, 3000)) << "the box is answered";
  }
  ChildProcess next = StartProgram();
  bool sawFading = false;
  ASSERT_TRUE(support::WaitFor([&] {
    if (auto alpha = support::LayeredAlpha(mainWindow)) sawFading |= *alpha > 0 && *alpha < 255;
    return program->ExitCode().has_value();
  }, 5000));
  EXPECT_TRUE(sawFading);
  EXPECT_EQ(program->ExitCode(), 0u);
  EXPECT_TRUE(MainWindowOf(next));
  EXPECT_FALSE(next.ExitCode().has_value());
}

TEST_F(RunningProgram, TheLogoOpensTheAboutWindowAndItsButtonShowsTheHistory) {
  ClickAt({293, 142});
  HWND about = nullptr;
  ASSERT_TRUE(support::WaitFor(
      [&] { return (about = support::VisibleWindowOf(program->Id(), L"关于 Harlune网络FM播放器")); }, 5000));
  HWND box = VisibleChild(about, L"Edit"), updateLog = VisibleChild(about, L"Button", L"更新日志");
  ASSERT_TRUE(box && updateLog);
  EXPECT_EQ(TextOf(box).rfind(L"Harlune网络FM播放器 使用说明\r\n", 0), 0u) << "the notice first";
  ClickMiddleOf(updateLog);
  EXPECT_TRUE(support::WaitFor([&] { return TextOf(box).rfind(L"2008.12.17 V3.0.1\r\n", 0) == 0; }, 3000))
      << "the history";
  EXPECT_TRUE(::IsWindowVisible(mainWindow));
}

}  // namespace
