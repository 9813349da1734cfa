#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "forms/picture.h"
#include "test_form.h"
#include "test_resources.h"

namespace forms_windows_test {
namespace {

using Controls = LoadedForm;

// Each of left, top, width and height is rounded on its own, halves to the even pixel.
TEST(ControlGeometry, TwipsBecomeWholePixelsOneByOne) {
  const struct {
    float left, top, width, height;
    RECT expected;  // left, top, right, bottom
  } cases[] = {
      {-10, -20, 1125, 450, {-1, -1, 74, 29}},
      {4510, 1490, 105, 960, {301, 99, 308, 163}},
      {127.5f, 142.5f, 127.5f, 142.5f, {8, 10, 16, 20}},
      {-50, -40, 4850, 8615, {-3, -3, 320, 571}},
  };
  for (const auto& c : cases) {
    TestForm before;  // stored before load
    before.Box2.Move(c.left, c.top, c.width, c.height);
    before.Show();
    TestForm after;  // applied at once
    after.Show();
    after.Box2.Move(c.left, c.top, c.width, c.height);
    for (HWND box : {before.Box2.hWnd(), after.Box2.hWnd()}) {
      const RECT r = ChildRect(box);
      EXPECT_EQ(r.left, c.expected.left) << c.left;
      EXPECT_EQ(r.top, c.expected.top) << c.top;
      EXPECT_EQ(r.right, c.expected.right) << c.width;
      EXPECT_EQ(r.bottom, c.expected.bottom) << c.height;
    }
  }
}

TEST_F(Controls, ChildWindowsStackInTheLayoutsOrder) {
  const std::pair<HWND, std::string> named[] = {{form.Box.hWnd(), "Box"},
                                                {form.Box2.hWnd(), "Box2"},
                                                {form.Button.hWnd(), "Button"},
                                                {form.Text.hWnd(), "Text"}};
  std::vector<std::string> stacked;
  for (HWND w = ::GetWindow(form.hWnd(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    const auto* found = std::find_if(std::begin(named), std::end(named),
                                     [w](const auto& entry) { return entry.first == w; });
    stacked.push_back(found != std::end(named) ? found->second : "other");
  }
  EXPECT_EQ(stacked, (std::vector<std::string>{"Box", "Box2", "Button", "Text"}));
}

TEST_F(Controls, PictureBoxTakesItsPicturesSizeAtOnce) {
  form.Box.Picture(forms::Picture::FromBitmapResource(IDB_BOX_17X19));
  const RECT r = ChildRect(form.Box.hWnd());
  EXPECT_EQ(r.right - r.left, 17);
  EXPECT_EQ(r.bottom - r.top, 19);
  EXPECT_EQ(form.Box.Width(), 255.0f);
  EXPECT_EQ(form.Box.Height(), 285.0f);
  HDC dc = ::GetDC(form.Box.hWnd());
  const COLORREF shown = ::GetPixel(dc, 8, 9);
  ::ReleaseDC(form.Box.hWnd(), dc);
  EXPECT_EQ(shown, RGB(200, 30, 60));
}

TEST_F(Controls, CommandButtonClicks) {
  form.Button.Caption(L"确定");
  ::SendMessageW(form.Button.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.events, Events{"Button.Click"});
  wchar_t caption[16]{};
  ::GetWindowTextW(form.Button.hWnd(), caption, 16);
  EXPECT_STREQ(caption, L"确定");
}

TEST_F(Controls, TextBoxIsReadOnlyAndBreaksLinesAtEveryNewline) {
  const LONG_PTR style = ::GetWindowLongPtrW(form.Text.hWnd(), GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_VSCROLL);
  form.Text.Text(L"一\r\n二\n三");
  EXPECT_EQ(::SendMessageW(form.Text.hWnd(), EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(form.Text.Text(), L"一\r\n二\n三");
}

struct TooltipSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK MatchTooltip(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TooltipSearch*>(param);
  wchar_t cls[64]{};
  ::GetClassNameW(window, cls, 64);
  if (::GetWindow(window, GW_OWNER) != search->owner || ::lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND TooltipOf(HWND form) {
  TooltipSearch search{form, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), MatchTooltip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(Tooltips, OneToolPerVisibleControlWithText) {
  TestForm form;
  form.Box.ToolTipText(L"关于");
  form.Front.ToolTipText(L"front");
  form.Show();
  HWND tooltip = TooltipOf(form.hWnd());
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
  form.Front.Visible(false);
  form.Link.ToolTipText(L"link");
  form.Box.ToolTipText(L"");
  EXPECT_EQ(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);

  wchar_t text[32]{};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.lpszText = text;
  ASSERT_TRUE(::SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_STREQ(text, L"link");
  EXPECT_EQ(tool.rect.left, 10);
  EXPECT_EQ(tool.rect.top, 40);
}

}  // namespace
}  // namespace forms_windows_test
