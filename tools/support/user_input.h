// Input as a user gives it: the system generates the messages (SendInput), so hit-testing,
// capture and double-click detection are the system's own. And the screen as the user sees it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace support {

enum class MouseButton { Left, Right, Middle };

// Each call returns after a short settle, pumping this thread's messages, so that Wine has
// delivered the input to whichever window (of any process) it went to.
void MovePointerTo(POINT screenPixel);
void PressButton(MouseButton button = MouseButton::Left);
void ReleaseButton(MouseButton button = MouseButton::Left);
void Click(MouseButton button = MouseButton::Left);  // where the pointer is
void DoubleClick();                                  // left, where the pointer is
void PressKey(WORD virtualKey);                      // down and up

// The normalised 0..65535 coordinate that lands on the pixel: the middle of the pixel's share
// of the virtual screen, so neither a floor nor a rounding mapping misses it.
LONG NormalisedCoordinate(int pixel, int screenOrigin, int screenExtent);

// Pixels as 0x00BBGGRR, row by row from the top.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> colors;
  COLORREF At(int x, int y) const { return colors[static_cast<size_t>(y) * width + x]; }
};

// What the screen shows in this rectangle (screen pixels).
Pixels ReadScreen(const RECT& rect);
// A bitmap resource of another module (an exe read as data), as 24-bit colours; empty when the
// module or the bitmap is missing.
Pixels BitmapResource(const std::wstring& modulePath, int id);
// How many pixels differ; -1 when the sizes differ or either is empty.
int DifferingPixels(const Pixels& a, const Pixels& b);
// What `draw` paints on a screen-like surface of this size filled with `backdrop`.
Pixels DrawnOn(SIZE size, COLORREF backdrop, const std::function<void(HDC)>& draw);
// A GIF resource of a module (an exe read as data) as the system's OLE picture loader draws it on
// a backdrop; empty when the module or the GIF is missing.
Pixels SystemDrawnGif(const std::wstring& modulePath, int id, COLORREF backdrop);
// Of the pixels a GIF resource covers inside the window's shape, drawn by the system's picture
// loader with its top left at `inWindow` of the window, the share the screen shows alike; -1
// when the GIF cannot be had.
double GifShareShown(HWND window, POINT inWindow, const std::wstring& modulePath, int id);
// True when the screen shows exactly the bitmap with its top left at `topLeft`.
bool ScreenShowsBitmap(POINT topLeft, const std::wstring& modulePath, int id);

}  // namespace support
