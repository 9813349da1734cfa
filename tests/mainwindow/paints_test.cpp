// How often one hover move or one mode switch paints each part of the main window: a new face
// reaches the screen once and whole, never as a half-made one.
#include <map>
#include <set>
#include <string>

#include "program_fixture.h"
#include "resources/resource_ids.h"

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
    Reset();
  }
  static void Reset() {
    paints_.clear();
    paintMessages_.clear();
  }
  static int PaintMessages() {
    int all = 0;
    for (const auto& [window, count] : paintMessages_) all += count;
    return all;
  }
  static int Of(HWND window) { return paints_.count(window) ? paints_[window] : 0; }
  static int PaintMessagesOf(HWND window) { return paintMessages_.count(window) ? paintMessages_[window] : 0; }

 private:
  void Watch(HWND window) {
    previous_[window] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Counting)));
  }
  // A paint message, or a control drawing itself at once into a context it was handed.
  static LRESULT CALLBACK Counting(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT || message == WM_PRINTCLIENT) ++paints_[window];
    if (message == WM_PAINT) ++paintMessages_[window];
    return ::CallWindowProcW(previous_[window], window, message, wParam, lParam);
  }
  static inline std::map<HWND, WNDPROC> previous_;
  static inline std::map<HWND, int> paints_;
  static inline std::map<HWND, int> paintMessages_;
};

class Paints : public testing_support::ProgramWindows {};

// The skin buttons drawn, by their rows in the window's table.
std::string DrawnButtons(Form1& main) {
  std::string drawn;
  for (size_t row = 0; row < Form1::SkinButtons().size(); ++row)
    if (PaintCounter::Of((main.*Form1::SkinButtons()[row].control).hWnd()))
      drawn += (drawn.empty() ? "" : " ") + std::to_string(row);
  return drawn;
}

// A new look is drawn once, straight away, without a paint cycle; a look that stays is not drawn.
TEST_F(Paints, AHoverMoveDrawsOnlyTheLooksThatChange) {
  Form1& main = LoadMainWindow();
  ::UpdateWindow(main.hWnd());
  PaintCounter counter(main.hWnd());
  const auto move = [&](forms::PictureBox& box, int x) {
    PaintCounter::Reset();
    ::SendMessageW(box.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 9));
    support::PumpMessages();
    EXPECT_EQ(PaintCounter::PaintMessages(), 0);
    return DrawnButtons(main);
  };
  EXPECT_EQ(move(main.Picture10, 8), "0") << "only the new hover look: the others already look normal";
  EXPECT_EQ(move(main.Picture10, 9), "") << "nothing changes within the button";
  EXPECT_EQ(move(main.Picture11, 8), "0 1");
  EXPECT_EQ(PaintCounter::Of(main.Picture10.hWnd()) + PaintCounter::Of(main.Picture11.hWnd()), 2);
}

// A look given while the window holds its redraw waits for the one paint at the end.
TEST_F(Paints, ALookSetDuringAHoldShowsWithTheRest) {
  Form1& main = LoadMainWindow();
  ::UpdateWindow(main.hWnd());
  PaintCounter counter(main.hWnd());
  {
    const forms::Form::RedrawHold hold(main);
    main.Picture10.Picture(forms::LoadResPicture(IDB_MINIMIZE_NORMAL + 1, forms::vbResBitmap));
    EXPECT_EQ(DrawnButtons(main), "");
  }
  EXPECT_EQ(PaintCounter::Of(main.Picture10.hWnd()), 1) << "with everything else, when the hold ends";
}

TEST_F(Paints, EachSwitchPaintsTheWindowAndEachVisiblePictureOnceWhenItIsDone) {
  Form1& main = LoadMainWindow();
  ::UpdateWindow(main.hWnd());
  PaintCounter counter(main.hWnd());
  std::set<HWND> opaquePictures;
  for (forms::Control* control : main.Controls()) {
    const auto* box = dynamic_cast<forms::PictureBox*>(control);
    if (box && box->Picture().Opaque()) opaquePictures.insert(box->hWnd());
  }
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
      if (opaquePictures.count(child)) EXPECT_EQ(PaintCounter::PaintMessagesOf(child), 0) << "drawn at once";
    }
  }
}

}  // namespace
}  // namespace sonbrel
