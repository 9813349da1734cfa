// The skin under the mouse: the buttons' looks and dragging the window by its pictures.
#include <cstring>
#include <vector>

#include "program_fixture.h"
#include "resources/resource_ids.h"

namespace sonbrel {
namespace {

using Box = forms::PictureBox Form1::*;

struct Button {
  Box box;
  int normal;  // then hover, then pressed
};

const std::vector<Button> kGroups[] = {
    {{&Form1::Picture10, IDB_MINIMIZE_NORMAL}, {&Form1::Picture11, IDB_MINIMODE_NORMAL}, {&Form1::Picture13, IDB_CLOSE_NORMAL}},
    {{&Form1::Picture12, IDB_MINI_NORMALMODE_NORMAL}, {&Form1::Picture18, IDB_MINI_EXIT_NORMAL},
     {&Form1::Picture19, IDB_MINI_MINIMIZE_NORMAL}, {&Form1::Picture20, IDB_MINI_ABOUT_NORMAL}},
    {{&Form1::Picture21, IDB_CLOSE_NORMAL}}};

// Both are DIB sections loaded from the resources, so equal looks have equal bits.
bool SameBits(HBITMAP a, HBITMAP b) {
  BITMAP x{}, y{};
  if (!::GetObjectW(a, sizeof x, &x) || !::GetObjectW(b, sizeof y, &y) || !x.bmBits || !y.bmBits) return false;
  return x.bmWidthBytes == y.bmWidthBytes && x.bmHeight == y.bmHeight &&
         std::memcmp(x.bmBits, y.bmBits, static_cast<size_t>(x.bmWidthBytes) * x.bmHeight) == 0;
}

class ButtonLooks : public testing_support::ProgramWindows {
 protected:
  void SetUp() override {
    ProgramWindows::SetUp();
    LoadMainWindow();
    // Looks only: a click would switch modes, hide the window or ask about the exit.
    for (const auto& group : kGroups)
      for (const Button& b : group) (Main().*b.box).Click = nullptr;
  }
  bool Shows(const Button& b, int look) {
    return SameBits((Main().*b.box).Picture().Bitmap(), forms::LoadResPicture(b.normal + look, 0).Bitmap());
  }
  void SetEveryButton(int look) {
    for (const auto& group : kGroups)
      for (const Button& b : group) (Main().*b.box).Picture(forms::LoadResPicture(b.normal + look, 0));
  }
  void Send(Box box, UINT message, WPARAM keys) { ::SendMessageW((Main().*box).hWnd(), message, keys, MAKELPARAM(5, 5)); }
};

TEST_F(ButtonLooks, EachButtonHoversResetsItsGroupPressesOnlyForTheLeftAndReleasesToNormal) {
  for (const auto& group : kGroups)
    for (const Button& b : group) {
      SCOPED_TRACE(b.normal);
      SetEveryButton(2);
      Send(b.box, WM_MOUSEMOVE, MK_RBUTTON);  // whatever the buttons held
      for (const Button& other : group) EXPECT_TRUE(Shows(other, other.box == b.box ? 1 : 0));
      for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}) Send(b.box, message, 0);
      EXPECT_TRUE(Shows(b, 1)) << "right and middle change nothing";
      Send(b.box, WM_LBUTTONDOWN, MK_LBUTTON);
      EXPECT_TRUE(Shows(b, 2));
      Send(b.box, WM_LBUTTONUP, 0);
      EXPECT_TRUE(Shows(b, 0)) << "normal, not hover";
    }
}

TEST_F(ButtonLooks, OnlyTheFourAreasAroundTheGroupsResetThem) {
  const std::pair<Box, size_t> areas[] = {{nullptr, 0},           {&Form1::Picture4, 0},  {&Form1::Picture14, 1},
                                          {&Form1::Picture8, 2},  {&Form1::Picture3, 3},  {&Form1::Picture15, 3},
                                          {&Form1::Picture9, 3}};  // nullptr: the window surface; 3: no group
  for (const auto& [area, resetGroup] : areas) {
    SetEveryButton(1);
    ::SendMessageW(area ? (Main().*area).hWnd() : Main().hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    for (size_t g = 0; g < std::size(kGroups); ++g)
      for (const Button& b : kGroups[g]) EXPECT_TRUE(Shows(b, g == resetGroup ? 0 : 1)) << b.normal << " " << resetGroup;
  }
}

TEST(DragStart, RoundsHalvesToEvenAndHoldsTo16Bits) {
  const std::pair<float, int16_t> cases[] = {{0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {-2.5f, -2}, {40000, 32767}, {-40000, -32768}};
  for (const auto& [twips, want] : cases) EXPECT_EQ(DragStartFrom(twips), want) << twips;
}

class Dragging : public testing_support::ProgramWindows {
 protected:
  void SetUp() override {
    ProgramWindows::SetUp();
    LoadMainWindow();
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::SetWindowPos(Main().hWnd(), nullptr, work.left + 100, work.top + 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ClientToScreen(Main().Picture3.hWnd(), &press);
  }
  // The pointer dx, dy pixels from the press, as the system reports it: relative to where the area is now.
  void Send(UINT message, WPARAM keys, int dx, int dy) {
    POINT p{press.x + dx, press.y + dy};
    ::ScreenToClient(Main().Picture3.hWnd(), &p);
    ::SendMessageW(Main().Picture3.hWnd(), message, keys, MAKELPARAM(p.x, p.y));
  }
  RECT work{};
  POINT press{30, 10};
};

TEST_F(Dragging, OnlyTheLeftButtonAloneBringsThePressedPointBackUnderThePointerAfterAnySnap) {
  Send(WM_RBUTTONDOWN, MK_RBUTTON, 0, 0);
  Send(WM_RBUTTONUP, 0, 0, 0);
  EXPECT_EQ(Main().DragStartX, 0) << "only a left press starts a drag";
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
  EXPECT_TRUE(Main().DragStartX == 450 && Main().DragStartY == 150);
  const RECT before = MainRect();
  for (WPARAM keys : {MK_RBUTTON, MK_LBUTTON | MK_RBUTTON, MK_LBUTTON | MK_MBUTTON}) Send(WM_MOUSEMOVE, keys, 30, 30);
  const RECT after = MainRect();
  EXPECT_TRUE(::EqualRect(&before, &after)) << "only the left button alone drags";
  Send(WM_MOUSEMOVE, MK_LBUTTON, 10, 5);
  EXPECT_TRUE(MainRect().left == work.left + 110 && MainRect().top == work.top + 205);
  Send(WM_MOUSEMOVE, MK_LBUTTON, -88, 0);  // 12 from the edge
  EXPECT_EQ(MainRect().left, work.left);
  Send(WM_MOUSEMOVE, MK_LBUTTON, -48, 20);
  EXPECT_TRUE(MainRect().left == work.left + 52 && MainRect().top == work.top + 220) << "the snap is not carried";
}

}  // namespace
}  // namespace sonbrel
