#include <cstring>
#include <vector>

#include "message_recorder.h"
#include "program_fixture.h"

namespace sonbrel {
namespace {

using Box = forms::PictureBox Form1::*;

struct Look {
  Box box;
  int normal;
};

const Look kAllButtons[] = {{&Form1::Picture10, 101}, {&Form1::Picture11, 104}, {&Form1::Picture13, 107},
                            {&Form1::Picture12, 119}, {&Form1::Picture18, 113}, {&Form1::Picture19, 116},
                            {&Form1::Picture20, 110}, {&Form1::Picture21, 107}};

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
    // The mini-mode face shown as well, so that its buttons paint.
    for (Box box : {&Form1::Picture12, &Form1::Picture18, &Form1::Picture19, &Form1::Picture20,
                    &Form1::Picture14, &Form1::Picture15})
      (Main().*box).Visible(true);
    // Looks only: a click would switch modes, hide the window or open the exit box.
    for (const Look& b : kAllButtons) (Main().*b.box).Click = nullptr;
  }
  bool Shows(Box box, int id) {
    return SameBits((Main().*box).Picture().Bitmap(), forms::LoadResPicture(id, 0).Bitmap());
  }
  void SetEveryButton(int look) {
    for (const Look& b : kAllButtons) (Main().*b.box).Picture(forms::LoadResPicture(b.normal + look, 0));
  }
  void Send(Box box, UINT message, WPARAM keys, int x = 5, int y = 5) {
    ::SendMessageW((Main().*box).hWnd(), message, keys, MAKELPARAM(x, y));
  }
};

struct Row {
  const char* name;
  Look button;
  std::vector<Look> resets;  // in order
};

const Row kRows[] = {
    {"Picture10", {&Form1::Picture10, 101}, {{&Form1::Picture11, 104}, {&Form1::Picture13, 107}}},
    {"Picture11", {&Form1::Picture11, 104}, {{&Form1::Picture10, 101}, {&Form1::Picture13, 107}}},
    {"Picture13", {&Form1::Picture13, 107}, {{&Form1::Picture10, 101}, {&Form1::Picture11, 104}}},
    {"Picture12", {&Form1::Picture12, 119}, {{&Form1::Picture18, 113}, {&Form1::Picture19, 116}, {&Form1::Picture20, 110}}},
    {"Picture18", {&Form1::Picture18, 113}, {{&Form1::Picture12, 119}, {&Form1::Picture19, 116}, {&Form1::Picture20, 110}}},
    {"Picture19", {&Form1::Picture19, 116}, {{&Form1::Picture12, 119}, {&Form1::Picture18, 113}, {&Form1::Picture20, 110}}},
    {"Picture20", {&Form1::Picture20, 110}, {{&Form1::Picture12, 119}, {&Form1::Picture18, 113}, {&Form1::Picture19, 116}}},
    {"Picture21", {&Form1::Picture21, 107}, {}},
};

TEST_F(ButtonLooks, EachButtonHoversResetsItsGroupInOrderPressesAndReleasesToNormal) {
  std::vector<HWND> buttons;
  for (const Look& b : kAllButtons) buttons.push_back((Main().*b.box).hWnd());
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    SetEveryButton(2);
    std::vector<HWND> painted, wantPainted;
    {
      testing_support::MessageRecorder recorder(buttons, WM_PAINT);
      Send(row.button.box, WM_MOUSEMOVE, MK_RBUTTON);  // whatever the buttons held
      for (const auto& r : recorder.records) painted.push_back(r.window);
    }
    EXPECT_TRUE(Shows(row.button.box, row.button.normal + 1));
    // Picture21 lies below the closed panel's edge: nothing of it to paint.
    if (row.button.box != &Form1::Picture21) wantPainted.push_back((Main().*row.button.box).hWnd());
    for (const Look& reset : row.resets) {
      EXPECT_TRUE(Shows(reset.box, reset.normal));
      wantPainted.push_back((Main().*reset.box).hWnd());
    }
    EXPECT_EQ(painted, wantPainted) << "hover first, then the resets in order";

    for (UINT other : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}) Send(row.button.box, other, 0);
    EXPECT_TRUE(Shows(row.button.box, row.button.normal + 1)) << "right and middle change nothing";
    Send(row.button.box, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_TRUE(Shows(row.button.box, row.button.normal + 2));
    Send(row.button.box, WM_LBUTTONUP, 0);
    EXPECT_TRUE(Shows(row.button.box, row.button.normal)) << "normal, not hover";
  }
}

TEST_F(ButtonLooks, OnlyTheFourAreasResetTheirGroups) {
  const struct {
    const char* name;
    Box area;  // nullptr: the window surface
    std::vector<Box> reset;
  } areas[] = {
      {"surface", nullptr, {&Form1::Picture10, &Form1::Picture11, &Form1::Picture13}},
      {"Picture4", &Form1::Picture4, {&Form1::Picture10, &Form1::Picture11, &Form1::Picture13}},
      {"Picture14", &Form1::Picture14, {&Form1::Picture12, &Form1::Picture18, &Form1::Picture19, &Form1::Picture20}},
      {"Picture8", &Form1::Picture8, {&Form1::Picture21}},
      {"Picture3", &Form1::Picture3, {}},
      {"Picture15", &Form1::Picture15, {}},
      {"Picture9", &Form1::Picture9, {}},
  };
  for (const auto& area : areas) {
    SCOPED_TRACE(area.name);
    SetEveryButton(1);
    if (area.area) Send(area.area, WM_MOUSEMOVE, 0);
    else ::SendMessageW(Main().hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 80));
    for (const Look& b : kAllButtons) {
      const bool reset = std::find(area.reset.begin(), area.reset.end(), b.box) != area.reset.end();
      EXPECT_TRUE(Shows(b.box, reset ? b.normal : b.normal + 1)) << "button showing " << b.normal;
    }
  }
}

TEST_F(ButtonLooks, APressCarriedOffTheButtonTurnsToHoverThenNormalWithoutAClick) {
  int clicks = 0;
  Main().Picture10.Click = [&] { ++clicks; };
  Send(&Form1::Picture10, WM_LBUTTONDOWN, MK_LBUTTON, 8, 9);
  EXPECT_TRUE(Shows(&Form1::Picture10, 103));
  EXPECT_EQ(::GetCapture(), Main().Picture10.hWnd());
  Send(&Form1::Picture10, WM_MOUSEMOVE, MK_LBUTTON, static_cast<WORD>(-40), 60);
  EXPECT_TRUE(Shows(&Form1::Picture10, 102));
  Send(&Form1::Picture10, WM_LBUTTONUP, 0, static_cast<WORD>(-40), 60);
  EXPECT_TRUE(Shows(&Form1::Picture10, 101));
  EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace sonbrel
