#include <gtest/gtest.h>

#include <string>

#include "running_program.h"
#include "support/user_input.h"

namespace {

using program_testing::RunningProgram;

std::wstring TextOf(HWND w) {
  wchar_t text[4096] = {};
  ::SendMessageW(w, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
  return text;
}

HWND VisibleChild(HWND parent, const std::wstring& className, const std::wstring& text) {
  for (const auto& child : support::VisibleChildren(parent))
    if (child.className == className && (text.empty() || TextOf(child.window) == text)) return child.window;
  return nullptr;
}

void ClickMiddleOf(HWND w) {
  RECT r;
  ::GetWindowRect(w, &r);
  support::MovePointerTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  support::Click();
}

// A click on the logo opens the about window; its update-log button fills the text box.
TEST_F(RunningProgram, TheLogoOpensTheAboutWindowAndItsButtonShowsTheHistory) {
  HWND main = mainWindow;
  ASSERT_TRUE(support::WaitFor([&] { return !support::LayeredAlpha(main).has_value(); }, 5000)) << "still fading in";

  RECT window;
  ::GetWindowRect(main, &window);
  support::MovePointerTo(POINT{window.left + 293, window.top + 142});  // the round logo
  support::Click();
  HWND about = nullptr;
  ASSERT_TRUE(support::WaitFor(
      [&] { return (about = support::VisibleWindowOf(program->Id(), L"关于 Harlune网络FM播放器")); }, 5000));

  HWND box = VisibleChild(about, L"Edit", L"");
  HWND updateLog = VisibleChild(about, L"Button", L"更新日志");
  ASSERT_TRUE(box && updateLog);
  EXPECT_EQ(TextOf(box).rfind(L"Harlune网络FM播放器 使用说明\r\n", 0), 0u) << "the notice first";
  ClickMiddleOf(updateLog);
  EXPECT_TRUE(support::WaitFor([&] { return TextOf(box).rfind(L"2008.12.17 V3.0.1\r\n", 0) == 0; }, 3000))
      << "the history";
  EXPECT_TRUE(::IsWindowVisible(main));
}

}  // namespace
