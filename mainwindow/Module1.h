// Process-wide window routines of the main window: edge snapping and the topmost band.
#pragma once

#include <windows.h>

#include <cstdint>

namespace sonbrel::Module1 {

extern HWND MainHwnd;
extern WNDPROC PrevWndProc;

// Puts SnapWindowProc in front of MainHwnd's procedure, and takes it out again while it is still
// the window's own; PrevWndProc is set only while ours is installed.
void HookWindow();
void UnhookWindow();

// Only -1 (True) counts as True; every other value takes the False branch.
LONG SetTopMost(HWND& hWnd, int16_t& OnTop);

LRESULT CALLBACK SnapWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

constexpr int kSnapDistance = 20;

// The snapping rule on one record: an edge less than kSnapDistance from the matching edge of the
// work area lands on it; right beats left, bottom beats top. `current` stands in for the size of a
// pure move and the position of a pure resize, whose fields the system leaves empty.
void SnapToWorkArea(WINDOWPOS& pos, const RECT& workArea, const RECT& current);

}  // namespace sonbrel::Module1
