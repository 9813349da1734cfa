// How often one hover move or one mode switch paints each part of the main window: a new face
// reaches the screen once and whole, never as a half-made one.
#include <map>
#include <set>
#include <string>

#include "program_fixture.h"
#include "resources/resource_ids.h"

namespace sonbrel {
namespace {

// Paint messages, or a control drawing itself at once into a context it was handed.
std::map<HWND, WNDPROC> g_previous;
std::map<HWND, int> g_paints, g_paintMessages;
LRESULT CALLBACK Counting(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_paints[window] += message == WM_PAINT || message == WM_PRINTCLIENT;
  g_paintMessages[window] += message == WM_PAINT;
  return ::CallWindowProcW(g_previous[window], window, message, wParam, lParam);
}

// Counts the paints of the main window and of its child windows from a painted start.
class Paints : public testing_support::ProgramWindows {
 protected:
  Form1& Watched() {
    Form1& main = LoadMainWindow();
    ::UpdateWindow(main.hWnd());
    for (HWND w = main.hWnd(); w; w = ::GetWindow(w, w == main.hWnd() ? GW_CHILD : GW_HWNDNEXT))
      g_previous[w] = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Counting)));
    return main;
  }
  void TearDown() override {
    for (auto [w, previous] : g_previous) ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    g_previous.clear(), g_paints.clear(), g_paintMessages.clear();
    ProgramWindows::TearDown();
  }
  // The skin buttons drawn, by their rows in the window's table.
  static std::string DrawnButtons(Form1& main) {
    std::string drawn;
    for (size_t row = 0; row < Form1::SkinButtons().size(); ++row) {
      if (g_paints[(main.*Form1::SkinButtons()[row].control).hWnd()]) drawn.append(drawn.empty() ? "" : " ").append(std::to_string(row));
    }
    return drawn;
  }
};

// A new look is drawn once, straight away, without a paint cycle; a look that stays is not drawn. A
// look given while the window holds its redraw waits for the one paint at the end.
TEST_F(Paints, AHoverMoveDrawsOnlyTheLooksThatChangeAndALookSetDuringAHoldShowsWithTheRest) {
  Form1& main = Watched();
  const auto move = [&](forms::PictureBox& box, int x) {
    g_paints.clear(), g_paintMessages.clear();
    ::SendMessageW(box.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 9));
    support::PumpMessages();
    int messages = 0;
    for (auto [w, count] : g_paintMessages) messages += count;
    EXPECT_EQ(messages, 0);
    return DrawnButtons(main);
  };
  EXPECT_EQ(move(main.Picture10, 8), "0") << "only the new hover look: the others already look normal";
  EXPECT_EQ(move(main.Picture10, 9), "") << "nothing changes within the button";
  EXPECT_EQ(move(main.Picture11, 8), "0 1");
  EXPECT_EQ(g_paints[main.Picture10.hWnd()] + g_paints[main.Picture11.hWnd()], 2);
  g_paints.clear();
  {
    const forms::Form::RedrawHold hold(main);
    main.Picture10.Picture(forms::LoadResPicture(IDB_MINIMIZE_NORMAL + 1, forms::vbResBitmap));
    EXPECT_EQ(DrawnButtons(main), "");
  }
  EXPECT_EQ(g_paints[main.Picture10.hWnd()], 1) << "with everything else, when the hold ends";
}

TEST_F(Paints, EachSwitchPaintsTheWindowAndEachVisiblePictureOnceWhenItIsDone) {
  Form1& main = Watched();
  std::set<HWND> opaquePictures;
  for (forms::Control* control : main.Controls()) {
    const auto* box = dynamic_cast<forms::PictureBox*>(control);
    if (box && box->Picture().Opaque()) opaquePictures.insert(box->hWnd());
  }
  for (void (Form1::*click)() : {&Form1::Picture2_Click, &Form1::Picture1_Click, &Form1::Picture11_Click,
                                 &Form1::Picture12_Click, &Form1::Picture2_Click, &Form1::Picture11_Click,
                                 &Form1::Picture12_Click}) {
    g_paints.clear(), g_paintMessages.clear();
    (main.*click)();
    EXPECT_EQ(g_paints[main.hWnd()], 1);
    RECT window{};
    ::GetWindowRect(main.hWnd(), &window);
    const forms::UniqueRegion outline = support::WindowRegion(main.hWnd());
    for (HWND child = ::GetWindow(main.hWnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (child == main.html.hWnd()) continue;
      RECT r{};
      ::GetWindowRect(child, &r);
      ::OffsetRect(&r, -window.left, -window.top);
      const bool onScreen = ::IsWindowVisible(child) && ::RectInRegion(outline.Get(), &r);
      EXPECT_EQ(g_paints[child], onScreen ? 1 : 0) << support::WindowClass(child) << " at " << r.left << "," << r.top;
      if (opaquePictures.count(child)) { EXPECT_EQ(g_paintMessages[child], 0) << "drawn at once"; }
    }
  }
}

}  // namespace
}  // namespace sonbrel
