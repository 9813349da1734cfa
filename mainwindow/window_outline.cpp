#include "mainwindow/window_outline.h"

#include <initializer_list>

namespace sonbrel {

namespace {

// Width and height of the corner ellipses, in pixels.
constexpr int kCornerEllipse = 11;
constexpr int kPlayerPartEnd = 279;  // the player part ends at H - 279,
constexpr int kPanelPartTop = 280;   // the panel part starts at H - 280: they share a row

}  // namespace

void WindowOutline::Round(HWND window, SIZE size) {
  WindowRgn.Reset(::CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, kCornerEllipse, kCornerEllipse));
  forms::GiveRegionToWindow(window, WindowRgn);
}

void WindowOutline::Square(HWND window, SIZE size) {
  WindowRgn.Reset(::CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, 0, 0));
  forms::GiveRegionToWindow(window, WindowRgn);
}

void WindowOutline::RoundWithPanel(HWND window, SIZE size) {
  const int w = size.cx, h = size.cy;
  JoinedRgn.Reset(::CreateRectRgn(0, 0, 0, 0));
  WindowRgn.Reset(::CreateRoundRectRgn(0, 0, w + 1, h - kPlayerPartEnd, kCornerEllipse, kCornerEllipse));
  LowerRgn.Reset(::CreateRoundRectRgn(0, h - kPanelPartTop, w + 1, h, kCornerEllipse, kCornerEllipse));
  ::CombineRgn(JoinedRgn.Get(), WindowRgn.Get(), LowerRgn.Get(), RGN_OR);
  forms::GiveRegionToWindow(window, JoinedRgn);
  // The parts are not used again once joined.
  WindowRgn.Reset();
  LowerRgn.Reset();
}

void WindowOutline::LetGo() {
  for (forms::UniqueRegion* held : {&JoinedRgn, &WindowRgn, &LowerRgn}) held->Reset();
}

}  // namespace sonbrel
