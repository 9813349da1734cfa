// Dragging the borderless window by its skin: a left press on a drag area records where in the
// area it was; each move with only the left button held shifts the window so that this point
// comes back under the pointer. Each shift is two ordinary moves, so the snapping applies.
#include <algorithm>
#include <cmath>
#include <limits>

#include "mainwindow/Form1.h"

namespace sonbrel {

int16_t DragStartFrom(float twips) {
  constexpr float lowest = std::numeric_limits<int16_t>::min();
  constexpr float highest = std::numeric_limits<int16_t>::max();
  return static_cast<int16_t>(std::nearbyint(std::clamp(twips, lowest, highest)));
}

void DragStart::Press(int16_t Button, float X, float Y) {
  if (Button != forms::vbLeftButton) return;
  DragStartX = DragStartFrom(X);
  DragStartY = DragStartFrom(Y);
}

// X and Y are relative to where the area is now, so a position the snapping changed is not
// carried forward: each step asks again from the pointer.
std::optional<DragStep> DragStart::Step(int16_t Button, float X, float Y) const {
  if (Button != forms::vbLeftButton) return std::nullopt;
  return DragStep{X - DragStartX, Y - DragStartY};
}

namespace {

// The areas that drag, and the group of buttons a move over each sets back to normal.
struct DragArea {
  forms::PictureBox Form1::*control;
  ButtonGroup resets;
};

constexpr DragArea kDragAreas[] = {
    {&Form1::Picture3, ButtonGroup::None},     {&Form1::Picture4, ButtonGroup::TitleStrip},
    {&Form1::Picture5, ButtonGroup::None},     {&Form1::Picture8, ButtonGroup::Panel},
    {&Form1::Picture14, ButtonGroup::MiniBar},
};

}  // namespace

void Form1::ConnectDragAreas() {
  for (const DragArea& area : kDragAreas) {
    forms::PictureBox& box = this->*area.control;
    box.MouseDown = [this](int16_t Button, int16_t, float X, float Y) { DragArea_MouseDown(Button, X, Y); };
    box.MouseMove = [this, &area](int16_t Button, int16_t, float X, float Y) {
      DragArea_MouseMove(area.resets, Button, X, Y);
    };
  }
}

void Form1::DragArea_MouseDown(int16_t Button, float X, float Y) { Drag.Press(Button, X, Y); }

void Form1::DragArea_MouseMove(ButtonGroup resets, int16_t Button, float X, float Y) {
  ResetLooks(resets);
  const auto step = Drag.Step(Button, X, Y);
  if (!step) return;
  Left(Left() + step->dx);
  Top(Top() + step->dy);
}

}  // namespace sonbrel
