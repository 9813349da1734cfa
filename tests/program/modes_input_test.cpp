// Every button of the running program pressed with input the system generates.
#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "support/station_server.h"
#include "support/user_input.h"
#include "support/window_probe.h"

namespace {

using support::ChildProcess;

constexpr wchar_t kTitle[] = L"Harlune网络FM播放器";

ChildProcess StartProgram() { return ChildProcess::Start(L"\"" + std::wstring(SONBREL_EXE) + L"\""); }

HWND WaitForMainWindow(const ChildProcess& program) {
  HWND main = nullptr;
  support::WaitFor([&] { return (main = support::VisibleWindowOf(program.Id(), kTitle)); }, 15000);
  return main;
}

SIZE WindowSize(HWND w) {
  RECT r;
  ::GetWindowRect(w, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

bool TopMost(HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

HWND BoxOf(DWORD processId) {
  for (HWND w : support::TopLevelWindowsOf(processId))
    if (support::WindowClass(w) == L"#32770" && ::IsWindowVisible(w)) return w;
  return nullptr;
}

class Buttons : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening()) << "port " << SONBREL_WEB_PORT << " is taken";
    program = StartProgram();
    ASSERT_TRUE(main = WaitForMainWindow(*program)) << "no main window";
    ASSERT_TRUE(server.WaitForRequests("/sonbrel/index3.htm", 1, 10000));
    support::WaitFor([] { return false; }, 800);  // the fade-in is over
  }

  // A left click on the middle of a picture given by its client rectangle.
  void ClickAt(RECT picture) {
    RECT w;
    ::GetWindowRect(main, &w);
    support::MovePointerTo(POINT{w.left + (picture.left + picture.right) / 2, w.top + (picture.top + picture.bottom) / 2});
    support::Click();
  }
  bool WaitForSize(SIZE size) {
    return support::WaitFor([&] { const SIZE s = WindowSize(main); return s.cx == size.cx && s.cy == size.cy; }, 3000);
  }
  // Clicks an exit button and answers the box with the keyboard.
  void ExitWith(RECT exitButton, WORD key) {
    ClickAt(exitButton);
    HWND box = nullptr;
    ASSERT_TRUE(support::WaitFor([&] { return (box = BoxOf(program->Id())); }, 5000)) << "no box";
    EXPECT_EQ(support::WindowCaption(box), kTitle);
    EXPECT_EQ(support::WindowCaption(::GetDlgItem(box, 0xFFFF)), L"真的要退出吗？");
    support::PressKey(key);
    EXPECT_TRUE(support::WaitFor([&] { return !::IsWindow(box); }, 3000)) << "the box is answered";
  }

  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_WEB_PORT};
  std::optional<ChildProcess> program;
  HWND main = nullptr;
};

const RECT kPlaylistTab{216, 99, 309, 123}, kClosePlaylist{286, 165, 303, 184};
const RECT kMiniMode{268, 4, 285, 23}, kNormalMode{222, 12, 234, 22};
const RECT kMinimize{250, 4, 267, 23}, kMiniExit{222, 1, 234, 11};

TEST_F(Buttons, PanelMiniBarAndNotificationAreaRoundTrips) {
  ClickAt(kPlaylistTab);
  EXPECT_TRUE(WaitForSize({308, 441}));
  ClickAt(kPlaylistTab);  // the close face lies on the same place now
  EXPECT_TRUE(WaitForSize({308, 161}));
  ClickAt(kPlaylistTab);
  ASSERT_TRUE(WaitForSize({308, 441}));
  ClickAt(kClosePlaylist);
  EXPECT_TRUE(WaitForSize({308, 161}));

  ClickAt(kMiniMode);
  EXPECT_TRUE(WaitForSize({236, 25}));
  EXPECT_TRUE(TopMost(main));
  ClickAt(kNormalMode);
  EXPECT_TRUE(WaitForSize({308, 161}));
  EXPECT_FALSE(TopMost(main));
  RECT w;
  ::GetWindowRect(main, &w);
  EXPECT_TRUE(support::WaitFor([&] {
    return support::ScreenShowsBitmap({w.left + 268, w.top + 4}, SONBREL_EXE, IDB_MINIMODE_NORMAL);
  }, 2000)) << "the mini-mode button comes back in its normal look";

  ClickAt(kMinimize);
  ASSERT_TRUE(support::WaitFor([&] { return !::IsWindowVisible(main); }, 3000));
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
  EXPECT_FALSE(::IsWindowVisible(main)) << "a single click does nothing";
  support::WaitFor([] { return false; }, ::GetDoubleClickTime() + 100);  // not half of a double click
  support::DoubleClick();
  EXPECT_TRUE(support::WaitFor([&] { return ::IsWindowVisible(main) != FALSE; }, 3000));
  EXPECT_TRUE(support::WaitFor([&] { return !::IsWindowVisible(tray); }, 3000)) << "the icon is gone";
}

// A start right after the Yes must run normally, not take the fading copy for a running one.
TEST_F(Buttons, TheExitBoxAnsweredByKeyboardAndAStartDuringTheFadeOut) {
  ClickAt(kMiniMode);
  ASSERT_TRUE(WaitForSize({236, 25}));
  ExitWith(kMiniExit, 'N');
  // Long enough that the next click is not the second half of a double click.
  support::WaitFor([] { return false; }, ::GetDoubleClickTime() + 100);
  EXPECT_FALSE(program->ExitCode().has_value());
  EXPECT_TRUE(TopMost(main));
  EXPECT_EQ(WindowSize(main).cx, 236);

  ExitWith(kMiniExit, VK_RETURN);
  ChildProcess next = StartProgram();
  ASSERT_TRUE(program->WaitForExit(5000));
  EXPECT_EQ(program->ExitCode(), 0u);
  EXPECT_TRUE(WaitForMainWindow(next));
  EXPECT_FALSE(next.ExitCode().has_value());
}

}  // namespace
