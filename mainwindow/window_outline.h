// The main window's outline and the regions it is made of.
#pragma once

#include <windows.h>

#include "forms/forms.h"

namespace sonbrel {

// Each region is held only until the window takes it, which then owns it; what is still held
// (a refused hand-over) is deleted once, when replaced or let go.
class WindowOutline {
 public:
  // The normal mode: a rectangle of width x height pixels with rounded corners.
  void Round(HWND window, SIZE size);
  // The mini bar: square corners.
  void Square(HWND window, SIZE size);
  // The open playlist panel: two rounded parts, the player above and the panel below, sharing a row.
  void RoundWithPanel(HWND window, SIZE size);
  void LetGo();

 private:
  forms::UniqueRegion WindowRgn;
  forms::UniqueRegion LowerRgn;
  forms::UniqueRegion JoinedRgn;
};

}  // namespace sonbrel
