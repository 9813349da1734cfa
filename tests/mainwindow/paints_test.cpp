// How often one hover move or one mode switch paints each part of the main window: a new face
// reaches the screen once and whole, never as a half-made one.
#include <map>
#include <string>

#include "program_fixture.h"

namespace sonbrel {
namespace {

// Counts the paints of the main window and of its child windows.
class PaintCounter {
 public:
  explicit PaintCounter(HWND main) {
    Watch(main);
    for (HWND child = ::GetWindow(main, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) Watch(child);
  }
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;
  ~PaintCounter() {
    for (const auto& [window, previous] : previous_)
      ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    paints_.clear();
  }
  static void Reset() { paints_.clear(); }
  static int Of(HWND window) { return paints_.count(window) ? paints_[window] : 0; }

 private:
  void Watch(HWND window) {
    previous_[window] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Counting)));
  }
  static LRESULT CALLBACK Counting(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++paints_[window];
    return ::CallWindowProcW(previous_[window], window, message, wParam, lParam);
  }
  static inline std::map<HWND, WNDPROC> previous_;
  static inline std::map<HWND, int> paints_;
};

class Paints : public testing_support::ProgramWindows {};

// The paint counts of the skin pictures painted, in the window's table order.
std::string PicturePaints(Form1& main) {
  std::string seen;
  for (const Form1::SkinButton& button : Form1::SkinButtons())
    if (const int n = PaintCounter::Of((main.*button.control).hWnd())) seen += std::to_string(n) + " ";
  return seen;
}

TEST_F(Paints, AHoverMovePaintsOnlyTheLooksThatChange) {
  Form1& main = LoadMainWindow();
  ::UpdateWindow(main.hWnd());
  PaintCounter counter(main.hWnd());
  ::SendMessageW(main.Picture10.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(8, 9));
  EXPECT_EQ(PaintCounter::Of(main.Picture10.hWnd()), 1) << "the new hover look";
  EXPECT_EQ(PicturePaints(main), "1 ") << "the other title buttons already look normal";
  PaintCounter::Reset();
  ::SendMessageW(main.Picture10.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
  EXPECT_EQ(PicturePaints(main), "") << "nothing changes within the button";
  ::SendMessageW(main.Picture11.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(8, 9));
  EXPECT_TRUE(PaintCounter::Of(main.Picture10.hWnd()) == 1 && PaintCounter::Of(main.Picture11.hWnd()) == 1);
  EXPECT_EQ(PicturePaints(main), "1 1 ");
  EXPECT_EQ(PaintCounter::Of(main.hWnd()), 0);
}

TEST_F(Paints, EachSwitchPaintsTheWindowAndEachVisiblePictureOnceWhenItIsDone) {
  Form1& main = LoadMainWindow();
  ::UpdateWindow(main.hWnd());
  PaintCounter counter(main.hWnd());
  for (void (Form1::*click)() : {&Form1::Picture2_Click, &Form1::Picture1_Click, &Form1::Picture11_Click,
                                 &Form1::Picture12_Click, &Form1::Picture2_Click, &Form1::Picture11_Click,
                                 &Form1::Picture12_Click}) {
    PaintCounter::Reset();
    (main.*click)();
    EXPECT_EQ(PaintCounter::Of(main.hWnd()), 1);
    RECT window{};
    ::GetWindowRect(main.hWnd(), &window);
    const forms::UniqueRegion outline = support::WindowRegion(main.hWnd());
    for (HWND child = ::GetWindow(main.hWnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (child == main.html.hWnd()) continue;
      RECT r{};
      ::GetWindowRect(child, &r);
      ::OffsetRect(&r, -window.left, -window.top);
      const bool onScreen = ::IsWindowVisible(child) && ::RectInRegion(outline.Get(), &r);
      EXPECT_EQ(PaintCounter::Of(child), onScreen ? 1 : 0) << support::WindowClass(child) << " at " << r.left << ","
                                                           << r.top;
    }
  }
}

}  // namespace
}  // namespace sonbrel
