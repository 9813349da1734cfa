#include <string>

#include "mainwindow/notification_icon.h"
#include "program_fixture.h"
#include "support/gdi_objects.h"

namespace sonbrel {
namespace {

// The outline is the upper round rectangle joined with the lower (empty unless the panel is open);
// html: the page's top left in the window; visible: of the pictures a switch touches.
struct Shape { SIZE size; RECT upper, lower; int ellipse; POINT html; const char* visible; };
const Shape kClosed{{308, 161}, {0, 0, 309, 162}, {}, 11, {-3, -3}, "2 3 4 5 11"};
const Shape kOpen{{308, 441}, {0, 0, 309, 162}, {0, 161, 309, 441}, 11, {-3, -3}, "1 3 4 5 11"};
const Shape kMini{{236, 25}, {0, 0, 237, 26}, {}, 0, {20, -132}, "2 12 14 15 16 17 18 19 20"};

// Every way between the three shapes, in one walk.
const std::pair<void (Form1::*)(), const Shape&> kWalk[] = {
    {&Form1::Picture2_Click, kOpen},    {&Form1::Picture1_Click, kClosed}, {&Form1::Picture2_Click, kOpen},
    {&Form1::Picture21_Click, kClosed}, {&Form1::Picture11_Click, kMini},  {&Form1::Picture12_Click, kClosed},
    {&Form1::Picture2_Click, kOpen},    {&Form1::Picture11_Click, kMini},  {&Form1::Picture12_Click, kClosed}};

std::string VisiblePictures(Form1& f) {
  const std::pair<int, forms::PictureBox*> touched[] = {
      {1, &f.Picture1},   {2, &f.Picture2},   {3, &f.Picture3},   {4, &f.Picture4},   {5, &f.Picture5},
      {11, &f.Picture11}, {12, &f.Picture12}, {14, &f.Picture14}, {15, &f.Picture15}, {16, &f.Picture16},
      {17, &f.Picture17}, {18, &f.Picture18}, {19, &f.Picture19}, {20, &f.Picture20}};
  std::string seen;
  for (const auto& [n, box] : touched) {
    if (::IsWindowVisible(box->hWnd())) seen.append(seen.empty() ? "" : " ").append(std::to_string(n));
  }
  return seen;
}

using ViewModes = testing_support::ProgramWindows;

TEST_F(ViewModes, EverySwitchGivesItsShapePagePlacePicturesAndBandInPlace) {
  Form1& main = LoadMainWindow();
  const RECT start = MainRect();
  const auto roundRect = [](const RECT& r, int e) { return ::CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, e, e); };
  for (const auto& [click, s] : kWalk) {
    (main.*click)();
    SCOPED_TRACE(testing::Message() << "to " << s.size.cx << " x " << s.size.cy);
    const RECT r = MainRect(), page = support::DescribeWindow(main.html.hWnd()).rect;
    EXPECT_TRUE(r.left == start.left && r.top == start.top) << "a switch never moves the window";
    EXPECT_TRUE(r.right - r.left == s.size.cx && r.bottom - r.top == s.size.cy);
    forms::UniqueRegion expected{roundRect(s.upper, s.ellipse)}, lower{roundRect(s.lower, s.ellipse)};
    if (s.lower.bottom) ::CombineRgn(expected.Get(), expected.Get(), lower.Get(), RGN_OR);
    EXPECT_TRUE(WindowHasShape(main.hWnd(), expected.Get()));
    EXPECT_TRUE(page.left - r.left == s.html.x && page.top - r.top == s.html.y);
    EXPECT_EQ(VisiblePictures(main), s.visible);
    EXPECT_EQ(TopMost(main.hWnd()), &s == &kMini);
  }
  main.Height(6000);  // exactly: still a closed panel
  main.Picture11_Click();
  EXPECT_EQ(MainRect().bottom - MainRect().top, (6000 - 2040) / 15);
}

TEST_F(ViewModes, HundredsOfSwitchesHoversAndHidesLeaveNoGdiObjectBehind) {
  Form1& main = LoadMainWindow();
  const auto roundTrip = [&] {
    for (const auto& [click, s] : kWalk) (main.*click)();
    for (HWND button : {main.Picture10.hWnd(), main.Picture11.hWnd()}) ::SendMessageW(button, WM_MOUSEMOVE, 0, 0);
    main.Picture10_Click();
    // The icon's callback as the shell sends it: a mouse move whose x is the mouse message.
    ::SendMessageW(main.hWnd(), WM_MOUSEMOVE, 1, MAKELPARAM(WM_LBUTTONDBLCLK, 0));
  };
  roundTrip();  // whatever the system keeps once, it keeps now
  const auto before = support::CountGdiObjects(::GetCurrentProcess());
  for (int i = 0; i < 100; ++i) roundTrip();
  const auto after = support::CountGdiObjects(::GetCurrentProcess());
  ASSERT_TRUE(before && after);
  EXPECT_EQ(after->total, before->total);
}

TEST(TrayIconRecord, ATooLongCaptionIsCutAtAWholeCharacterThenOneNulAndSpaces) {
  const TrayIconRecord r = MakeTrayIconRecord(nullptr, nullptr, L"A" + std::wstring(40, L'网'));
  std::string expected = "A";
  for (int i = 0; i < 20; ++i) expected += "\xE7\xBD\x91";  // UTF-8, the manifest's code page: 61 bytes
  EXPECT_EQ(std::string(r.szTip, sizeof r.szTip), expected + '\0' + "  ");
}

}  // namespace
}  // namespace sonbrel
