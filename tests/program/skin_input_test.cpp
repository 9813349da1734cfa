#include "running_program.h"
#include "support/gdi_objects.h"
#include "support/user_input.h"

namespace {

using namespace program_testing;

// Where the pictures lie in the main window, in pixels.
constexpr POINT kPicture10{250, 4};
constexpr POINT kPicture11{268, 4};
constexpr POINT kTitleStripMiddle{120, 12};

class SkinInput : public RunningProgram {
 protected:
  void SetUp() override {
    RunningProgram::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(support::WaitFor([&] { return !support::LayeredAlpha(mainWindow); }, 5000)) << "still fading in";
  }
  POINT OnScreen(POINT inWindow) {
    RECT r;
    ::GetWindowRect(mainWindow, &r);
    return {r.left + inWindow.x, r.top + inWindow.y};
  }
  // Waits for the look: the other process paints when it gets to it.
  bool Shows(POINT button, int bitmapId) {
    return support::WaitFor([&] { return support::ScreenShowsBitmap(OnScreen(button), SONBREL_EXE, bitmapId); },
                            2000);
  }
  void PointAt(POINT inWindow) { support::MovePointerTo(OnScreen({inWindow.x + 8, inWindow.y + 9})); }
  int LiveBitmaps() {
    return support::CountGdiObjects(program->Handle()).value_or(support::GdiObjectCounts{}).Of(
        support::GdiObjectType::Bitmap);
  }
};

TEST_F(SkinInput, HoverAndPressLooksShowOnScreenAndLeakNoBitmaps) {
  PointAt(kPicture10);
  EXPECT_TRUE(Shows(kPicture10, 102));
  PointAt(kPicture11);
  EXPECT_TRUE(Shows(kPicture11, 105));
  EXPECT_TRUE(Shows(kPicture10, 101));

  support::PressButton();
  EXPECT_TRUE(Shows(kPicture11, 106));
  support::MovePointerTo(OnScreen(kTitleStripMiddle));
  EXPECT_TRUE(Shows(kPicture11, 105)) << "held and moved off: hover";
  support::ReleaseButton();
  EXPECT_TRUE(Shows(kPicture11, 104));
  EXPECT_TRUE(::IsWindowVisible(mainWindow)) << "a release off the button is no click";

  const int bitmaps = LiveBitmaps();
  ASSERT_GT(bitmaps, 0);
  for (int i = 0; i < 10; ++i) {
    PointAt(kPicture10);
    PointAt(kPicture11);
  }
  EXPECT_TRUE(Shows(kPicture11, 105));
  EXPECT_EQ(LiveBitmaps(), bitmaps);
}

TEST_F(SkinInput, DraggingTheTitleStripMovesTheWindowByThePointersDistance) {
  RECT before;
  ::GetWindowRect(mainWindow, &before);
  const POINT grab = OnScreen(kTitleStripMiddle);
  support::MovePointerTo(grab);
  support::PressButton();
  for (int step = 1; step <= 4; ++step) support::MovePointerTo({grab.x + 9 * step + 1, grab.y + 6 * step - 1});
  support::ReleaseButton();
  const int dx = 37, dy = 23;
  RECT after{};
  EXPECT_TRUE(support::WaitFor(
      [&] {
        ::GetWindowRect(mainWindow, &after);
        return after.left == before.left + dx && after.top == before.top + dy;
      },
      3000))
      << "moved by " << after.left - before.left << ", " << after.top - before.top;
  EXPECT_EQ(after.right - after.left, before.right - before.left);
}

}  // namespace
