#include "running_program.h"
#include "support/gdi_objects.h"
#include "support/user_input.h"

namespace {

using namespace program_testing;

// Where the pictures lie in the main window, in pixels.
constexpr POINT kPicture10{250, 4};
constexpr POINT kPicture11{268, 4};
constexpr POINT kTitleStrip{120, 12};

class SkinInput : public RunningProgram {
 protected:
  void SetUp() override {
    RunningProgram::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(support::WaitFor([&] { return !support::LayeredAlpha(mainWindow); }, 5000)) << "still fading in";
  }
  POINT OnScreen(POINT inWindow, int dx = 0, int dy = 0) {
    RECT r;
    ::GetWindowRect(mainWindow, &r);
    return {r.left + inWindow.x + dx, r.top + inWindow.y + dy};
  }
  // The other process paints when it gets to it.
  bool Shows(POINT button, int bitmapId) {
    return support::WaitFor([&] { return support::ScreenShowsBitmap(OnScreen(button), SONBREL_EXE, bitmapId); },
                            2000);
  }
  void PointAt(POINT button) { support::MovePointerTo(OnScreen(button, 8, 9)); }
  int LiveBitmaps() {
    auto counts = support::CountGdiObjects(program->Handle());
    return counts ? counts->Of(support::GdiObjectType::Bitmap) : -1;
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
  support::MovePointerTo(OnScreen(kTitleStrip));
  EXPECT_TRUE(Shows(kPicture11, 105)) << "held and moved off: hover";
  support::ReleaseButton();  // off the button: no click
  EXPECT_TRUE(Shows(kPicture11, 104));

  const int bitmaps = LiveBitmaps();
  ASSERT_GT(bitmaps, 0);
  for (int i = 0; i < 10; ++i) PointAt(i % 2 ? kPicture10 : kPicture11);
  EXPECT_TRUE(Shows(kPicture10, 102));
  EXPECT_EQ(LiveBitmaps(), bitmaps);
}

TEST_F(SkinInput, DraggingTheTitleStripMovesTheWindowByThePointersDistance) {
  RECT before, after{};
  ::GetWindowRect(mainWindow, &before);
  const POINT grab = OnScreen(kTitleStrip);
  support::MovePointerTo(grab);
  support::PressButton();
  for (int step = 1; step <= 4; ++step) support::MovePointerTo({grab.x + 9 * step + 1, grab.y + 6 * step - 1});
  support::ReleaseButton();
  EXPECT_TRUE(support::WaitFor(
      [&] { return ::GetWindowRect(mainWindow, &after) && after.left == before.left + 37 && after.top == before.top + 23; },
      3000))
      << "moved by " << after.left - before.left << ", " << after.top - before.top;
  EXPECT_EQ(after.right - after.left, before.right - before.left);
}

}  // namespace
