#include "mainwindow/Module1.h"

#include "shared/application.h"

namespace sonbrel::Module1 {

// The record the system hands over is the 28-byte one on the 32-bit release.
static_assert(sizeof(void*) != 4 || sizeof(WINDOWPOS) == 28);

HWND MainHwnd = nullptr;
WNDPROC PrevWndProc = nullptr;

#ifdef _WIN64
// The 64-bit build keeps the same calls; the window procedure is pointer-sized there.
static WNDPROC SetWindowProcedure(HWND hWnd, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}
static WNDPROC WindowProcedure(HWND hWnd) {
  return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}
#else
static WNDPROC SetWindowProcedure(HWND hWnd, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(::SetWindowLongA(hWnd, GWL_WNDPROC, reinterpret_cast<LONG>(proc)));
}
static WNDPROC WindowProcedure(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongA(hWnd, GWL_WNDPROC)); }
#endif

// A refused install (a window of another process, one already gone) leaves PrevWndProc empty and
// nothing to undo; a second install would make our procedure its own predecessor.
void HookWindow() {
  if (WindowProcedure(MainHwnd) == SnapWindowProc) return;
  PrevWndProc = SetWindowProcedure(MainHwnd, SnapWindowProc);
}

// Whoever subclassed the window after us passes its messages on to our procedure; putting the
// old one back under them would cut them off, so ours stays (and keeps PrevWndProc) until the end.
void UnhookWindow() {
  if (!PrevWndProc || WindowProcedure(MainHwnd) != SnapWindowProc) return;
  SetWindowProcedure(MainHwnd, PrevWndProc);
  PrevWndProc = nullptr;
}

LONG SetTopMost(HWND& hWnd, int16_t& OnTop) {
  if (OnTop == True) return ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return 0;
}

static bool Near(int edge, int target) {
  return edge - target < kSnapDistance && target - edge < kSnapDistance;
}

void SnapToWorkArea(WINDOWPOS& pos, const RECT& workArea, const RECT& current) {
  const bool pureMove = (pos.flags & SWP_NOSIZE) != 0;
  const bool pureResize = (pos.flags & SWP_NOMOVE) != 0;
  const int cx = pureMove ? current.right - current.left : pos.cx;
  const int cy = pureMove ? current.bottom - current.top : pos.cy;
  int x = pureResize ? current.left : pos.x;
  int y = pureResize ? current.top : pos.y;
  const int fromX = x, fromY = y;
  if (Near(x, workArea.left)) x = workArea.left;
  if (Near(y, workArea.top)) y = workArea.top;
  if (Near(x + cx, workArea.right)) x = workArea.right - cx;
  if (Near(y + cy, workArea.bottom)) y = workArea.bottom - cy;
  if (pureResize) {
    if (x == fromX && y == fromY) return;
    // A resize that brings an edge near the work area's has to move the window to land on it.
    pos.flags &= ~SWP_NOMOVE;
  }
  pos.x = x;
  pos.y = y;
}

LRESULT CALLBACK SnapWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGING) {
    RECT workArea;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT current;
    ::GetWindowRect(hWnd, &current);
    WINDOWPOS pos;
    ::RtlMoveMemory(&pos, reinterpret_cast<void*>(lParam), sizeof pos);
    SnapToWorkArea(pos, workArea, current);
    ::RtlMoveMemory(reinterpret_cast<void*>(lParam), &pos, sizeof pos);
  }
  return ::CallWindowProcA(PrevWndProc, hWnd, message, wParam, lParam);
}

}  // namespace sonbrel::Module1
