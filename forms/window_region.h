// Handing a region to a window.
#pragma once

#include <windows.h>

#include "forms/handles.h"

namespace forms {

// The window takes the region only when SetWindowRgn succeeds; until then it stays ours, so a
// failed hand-over neither leaks it nor leaves the caller holding a handle the system owns.
bool GiveRegionToWindow(HWND window, UniqueRegion& region, bool redraw = true);

}  // namespace forms
