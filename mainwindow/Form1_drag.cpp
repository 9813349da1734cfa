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

namespace {

void StartDrag(Form1& form, int16_t Button, float X, float Y) {
  if (Button != forms::vbLeftButton) return;
  form.DragStartX = DragStartFrom(X);
  form.DragStartY = DragStartFrom(Y);
}

}  // namespace

void Form1::Picture3_MouseDown(int16_t Button, int16_t, float X, float Y) { StartDrag(*this, Button, X, Y); }
void Form1::Picture4_MouseDown(int16_t Button, int16_t, float X, float Y) { StartDrag(*this, Button, X, Y); }
void Form1::Picture5_MouseDown(int16_t Button, int16_t, float X, float Y) { StartDrag(*this, Button, X, Y); }
void Form1::Picture8_MouseDown(int16_t Button, int16_t, float X, float Y) { StartDrag(*this, Button, X, Y); }
void Form1::Picture14_MouseDown(int16_t Button, int16_t, float X, float Y) { StartDrag(*this, Button, X, Y); }

void Form1::Picture3_MouseMove(int16_t Button, int16_t, float X, float Y) { DragBy(Button, X, Y); }
void Form1::Picture5_MouseMove(int16_t Button, int16_t, float X, float Y) { DragBy(Button, X, Y); }

// X and Y are relative to where the area is now, so a position the snapping changed is not
// carried forward: each step asks again from the pointer.
void Form1::DragBy(int16_t Button, float X, float Y) {
  if (Button != forms::vbLeftButton) return;
  const float dx = X - DragStartX;
  const float dy = Y - DragStartY;
  Left(Left() + dx);
  Top(Top() + dy);
}

void Form1::ConnectDragAreas() {
  struct Wiring {
    forms::PictureBox Form1::*box;
    MouseHandler Form1::*down;
    MouseHandler Form1::*move;
  };
  const Wiring wirings[] = {
      {&Form1::Picture3, &Form1::Picture3_MouseDown, &Form1::Picture3_MouseMove},
      {&Form1::Picture4, &Form1::Picture4_MouseDown, &Form1::Picture4_MouseMove},
      {&Form1::Picture5, &Form1::Picture5_MouseDown, &Form1::Picture5_MouseMove},
      {&Form1::Picture8, &Form1::Picture8_MouseDown, &Form1::Picture8_MouseMove},
      {&Form1::Picture14, &Form1::Picture14_MouseDown, &Form1::Picture14_MouseMove},
  };
  for (const Wiring& wiring : wirings) {
    forms::PictureBox& box = this->*wiring.box;
    box.MouseDown = Handler(wiring.down);
    box.MouseMove = Handler(wiring.move);
  }
}

}  // namespace sonbrel
