#include <string>

#include "mainwindow/tray_icon_record.h"
#include "program_fixture.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

std::string Tip(const TrayIconRecord& r) { return std::string(r.szTip, sizeof r.szTip); }

TEST(TrayIconRecord, HoldsTheWindowItsIconAndTheCaptionEndedByOneNulThenSpaces) {
  HWND window = reinterpret_cast<HWND>(0x1234);
  HICON icon = reinterpret_cast<HICON>(0x5678);
  const TrayIconRecord r = MakeTrayIconRecord(window, icon, L"Harlune网络FM播放器");
  EXPECT_EQ(r.cbSize, sizeof(TrayIconRecord));
  EXPECT_EQ(r.hWnd, window);
  EXPECT_EQ(r.uID, 1u);
  EXPECT_EQ(r.uFlags, 7u);
  EXPECT_EQ(r.uCallbackMessage, 512u);
  EXPECT_EQ(r.hIcon, icon);
  const std::string caption = "Harlune\xE7\xBD\x91\xE7\xBB\x9C" "FM\xE6\x92\xAD\xE6\x94\xBE\xE5\x99\xA8";  // UTF-8: the manifest's code page
  EXPECT_EQ(Tip(r), caption + '\0' + std::string(64 - caption.size() - 1, ' '));
}

TEST(TrayIconRecord, ACaptionTooLongForTheFieldIsCutAtAWholeCharacterBeforeItsNul) {
  const std::wstring caption = L"A" + std::wstring(40, L'网');  // 1 + 120 bytes
  const TrayIconRecord r = MakeTrayIconRecord(nullptr, nullptr, caption);
  std::string expected = "A";
  for (int i = 0; i < 20; ++i) expected += "\xE7\xBD\x91";  // 61 bytes: one more would not leave room
  expected += '\0';
  expected += "  ";
  EXPECT_EQ(Tip(r), expected);
}

NOTIFYICONDATAW IconOf(HWND window) {
  NOTIFYICONDATAW icon{};
  icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
  icon.hWnd = window;
  icon.uID = 1;
  return icon;
}

// Only an icon that is there can be modified.
bool IconPresent(HWND window) {
  NOTIFYICONDATAW icon = IconOf(window);
  return ::Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

// The icon's callback as the shell sends it: a mouse move whose x is the mouse message.
void IconEvent(HWND window, int message) {
  ::SendMessageW(window, WM_MOUSEMOVE, 1, MAKELPARAM(message, 0));
}

class NotificationIcon : public ProgramWindows {
 protected:
  void TearDown() override {
    NOTIFYICONDATAW icon = IconOf(Main().hWnd());
    ::Shell_NotifyIconW(NIM_DELETE, &icon);
    ProgramWindows::TearDown();
  }
};

TEST_F(NotificationIcon, OnlyALeftDoubleClickBringsTheMiniBarBackAsItWent) {
  Form1& main = LoadMainWindow();
  main.Picture11_Click();
  ::SetWindowPos(main.hWnd(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT before;
  ::GetWindowRect(main.hWnd(), &before);

  main.Picture19_Click();
  ASSERT_FALSE(::IsWindowVisible(main.hWnd()));
  ASSERT_TRUE(IconPresent(main.hWnd()));
  for (int ignored : {512, 513, 514, 516, 517, 518}) {
    IconEvent(main.hWnd(), ignored);
    EXPECT_FALSE(::IsWindowVisible(main.hWnd())) << ignored;
  }
  IconEvent(main.hWnd(), 515);
  EXPECT_TRUE(::IsWindowVisible(main.hWnd()));
  EXPECT_FALSE(IconPresent(main.hWnd()));
  RECT after;
  ::GetWindowRect(main.hWnd(), &after);
  EXPECT_TRUE(::EqualRect(&before, &after));
  EXPECT_TRUE(::GetWindowLongW(main.hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(::IsWindowVisible(main.Picture12.hWnd()));
}

TEST_F(NotificationIcon, AFailedAddLeavesTheWindowShown) {
  Form1& main = LoadMainWindow();
  main.Picture10_Click();
  main.Show();  // the icon stays: a second add of it fails
  main.Picture10_Click();
  EXPECT_TRUE(::IsWindowVisible(main.hWnd()));
}

TEST_F(NotificationIcon, ARestartedShellGetsTheIconOfAHiddenWindowAgain) {
  Form1& main = LoadMainWindow();
  const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
  main.Picture10_Click();
  NOTIFYICONDATAW lost = IconOf(main.hWnd());
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &lost));
  ::SendMessageW(main.hWnd(), taskbarCreated, 0, 0);
  EXPECT_TRUE(IconPresent(main.hWnd()));
  IconEvent(main.hWnd(), 515);
  ASSERT_TRUE(::IsWindowVisible(main.hWnd()));
  ::SendMessageW(main.hWnd(), taskbarCreated, 0, 0);
  EXPECT_FALSE(IconPresent(main.hWnd())) << "no icon for a shown window";
}

}  // namespace
}  // namespace sonbrel
