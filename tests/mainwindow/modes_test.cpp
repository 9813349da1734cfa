#include <string>

#include "program_fixture.h"
#include "support/gdi_objects.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

struct Shape {
  const char* name;
  SIZE size;
  RECT upper;
  int ellipse;
  RECT lower;  // empty unless the panel is open
  POINT html;  // the page's top left in the window
  const char* visible;  // of the pictures a switch touches
  bool topmost;
};

const Shape kClosed{"closed", {308, 161}, {0, 0, 309, 162}, 11, {}, {-3, -3}, "2 3 4 5 11", false};
const Shape kOpen{"open", {308, 441}, {0, 0, 309, 162}, 11, {0, 161, 309, 441}, {-3, -3}, "1 3 4 5 11", false};
const Shape kMini{"mini", {236, 25}, {0, 0, 237, 26}, 0, {}, {20, -132}, "2 12 14 15 16 17 18 19 20", true};

using Click = void (Form1::*)();
struct Step {
  Click click;
  const char* clicked;
  const Shape& result;
};

// Every way between the three shapes, in one walk.
const Step kWalk[] = {
    {&Form1::Picture2_Click, "Picture2", kOpen},     {&Form1::Picture1_Click, "Picture1", kClosed},
    {&Form1::Picture2_Click, "Picture2", kOpen},     {&Form1::Picture21_Click, "Picture21", kClosed},
    {&Form1::Picture11_Click, "Picture11", kMini},   {&Form1::Picture12_Click, "Picture12", kClosed},
    {&Form1::Picture2_Click, "Picture2", kOpen},     {&Form1::Picture11_Click, "Picture11", kMini},
    {&Form1::Picture12_Click, "Picture12", kClosed},
};

forms::UniqueRegion RoundRect(const RECT& r, int ellipse) {
  return forms::UniqueRegion{::CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, ellipse, ellipse)};
}

forms::UniqueRegion ExpectedOutline(const Shape& s) {
  forms::UniqueRegion region = RoundRect(s.upper, s.ellipse);
  if (s.lower.bottom > 0) ::CombineRgn(region.Get(), region.Get(), RoundRect(s.lower, s.ellipse).Get(), RGN_OR);
  return region;
}

std::string VisiblePictures(Form1& f) {
  const std::pair<const char*, forms::PictureBox*> touched[] = {
      {"1", &f.Picture1},   {"2", &f.Picture2},   {"3", &f.Picture3},   {"4", &f.Picture4},
      {"5", &f.Picture5},   {"11", &f.Picture11}, {"12", &f.Picture12}, {"14", &f.Picture14},
      {"15", &f.Picture15}, {"16", &f.Picture16}, {"17", &f.Picture17}, {"18", &f.Picture18},
      {"19", &f.Picture19}, {"20", &f.Picture20}};
  std::string names;
  for (const auto& [name, box] : touched) {
    if (!::IsWindowVisible(box->hWnd())) continue;
    names += names.empty() ? "" : " ";
    names += name;
  }
  return names;
}

bool TopMost(HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class ViewModes : public ProgramWindows {
 protected:
  void ExpectShape(const Shape& s, const std::string& after) {
    SCOPED_TRACE(after + " -> " + s.name);
    Form1& main = Main();
    RECT r;
    ::GetWindowRect(main.hWnd(), &r);
    EXPECT_EQ(r.right - r.left, s.size.cx);
    EXPECT_EQ(r.bottom - r.top, s.size.cy);
    EXPECT_TRUE(r.left == start.x && r.top == start.y) << "a switch never moves the window";
    forms::UniqueRegion expected = ExpectedOutline(s);
    EXPECT_TRUE(WindowHasShape(main.hWnd(), expected.Get()));
    RECT page;
    ::GetWindowRect(main.html.hWnd(), &page);
    EXPECT_EQ(page.left - r.left, s.html.x);
    EXPECT_EQ(page.top - r.top, s.html.y);
    EXPECT_EQ(VisiblePictures(main), s.visible);
    EXPECT_EQ(TopMost(main.hWnd()), s.topmost);
  }
  POINT start{};
};

TEST_F(ViewModes, EverySwitchGivesItsShapeRegionPagePlacePicturesAndBand) {
  Form1& main = LoadMainWindow();
  RECT r;
  ::GetWindowRect(main.hWnd(), &r);
  start = POINT{r.left, r.top};
  for (const Step& step : kWalk) {
    (main.*step.click)();
    ExpectShape(step.result, step.clicked);
  }
}

TEST_F(ViewModes, AHeightOfExactly6000CountsAsAClosedPanel) {
  Form1& main = LoadMainWindow();
  main.Height(6000);
  main.Picture11_Click();
  RECT r;
  ::GetWindowRect(main.hWnd(), &r);
  EXPECT_EQ(r.bottom - r.top, (6000 - 2040) / 15);
}

TEST_F(ViewModes, ThousandsOfSwitchesAndHidesLeaveNoGdiObjectBehind) {
  Form1& main = LoadMainWindow();
  const auto roundTrip = [&main] {
    for (const Step& step : kWalk) (main.*step.click)();
    main.Picture10_Click();
    ::SendMessageW(main.hWnd(), WM_MOUSEMOVE, 1, MAKELPARAM(WM_LBUTTONDBLCLK, 0));
  };
  roundTrip();  // whatever the system keeps once, it keeps now
  const auto before = support::CountGdiObjects(::GetCurrentProcess());
  ASSERT_TRUE(before.has_value());
  constexpr int kRoundTrips = 250;
  for (int i = 0; i < kRoundTrips; ++i) roundTrip();
  const auto after = support::CountGdiObjects(::GetCurrentProcess());
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(after->Of(support::GdiObjectType::Region), before->Of(support::GdiObjectType::Region));
  EXPECT_EQ(after->total, before->total);
}

}  // namespace
}  // namespace sonbrel
