#include "forms/window_region.h"

namespace forms {

bool GiveRegionToWindow(HWND window, UniqueRegion& region, bool redraw) {
  if (!::SetWindowRgn(window, region.Get(), redraw ? TRUE : FALSE)) return false;
  region.Release();
  return true;
}

}  // namespace forms
