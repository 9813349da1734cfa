// What the skin costs under the mouse, in this process with the real main window: one mouse
// move over a title button (its hover look and two normal looks, loaded on every move) and one
// drag step (two window moves through the snapping), each against a plain SetWindowPos of the same
// window, and the parts they are made of. Every call is followed by an empty message queue, where
// Wine sends what was drawn to the screen. The machine may be shared, so the variants take turns
// within each round and each ratio is the median of the rounds' ratios.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "forms/forms.h"
#include "forms/handles.h"
#include "mainwindow/Form1.h"
#include "shared/application.h"
#include "support/window_probe.h"
#include "tools/benchmarks/medians.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRepeats = 100;
constexpr int kRounds = 21;

struct Variant {
  const char* name;
  std::function<void(int)> call;
};

struct Timings {
  std::vector<double> microseconds;  // per call, one entry per round
  std::vector<double> ratios;        // to the plain move of the same round
};


double MicrosecondsPerCall(const std::function<void(int)>& call) {
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < kRepeats; ++i) {
    call(i);
    support::PumpMessages();  // an empty queue sends what was drawn to the screen
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kRepeats;
}

}  // namespace

int wmain() {
  forms::App().Title(sonbrel::kApplicationTitle);
  sonbrel::Form1& main = forms::Forms::Get<sonbrel::Form1>();
  main.Show();
  for (int tick = 0; tick < 50; ++tick) main.Timer1_Timer();  // fully shown, as after the fade-in
  HWND window = main.hWnd();
  RECT start;
  ::GetWindowRect(window, &start);
  support::PumpMessages();

  HWND strip = main.Picture3.hWnd();
  HWND button = main.Picture10.hWnd();
  const forms::Picture look = forms::LoadResPicture(102, forms::vbResBitmap);

  // The figures the goals are about first, then where their time goes.
  std::vector<Variant> variants = {
      {"plain SetWindowPos",
       [&](int i) {
         ::SetWindowPos(window, nullptr, start.left + (i & 1), start.top, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
       }},
      // Each move changes two looks: the button left goes normal, the one entered shows hover.
      {"hover move, Picture10 and 11 in turn",
       [&](int i) { ::SendMessageW(((i & 1) ? main.Picture11 : main.Picture10).hWnd(), WM_MOUSEMOVE, 0,
                                   MAKELPARAM(8, 9)); }},
      // Pressed at (30, 10) on the title strip, then one pixel right and back, or also down and up.
      {"drag step",
       [&](int i) { ::SendMessageW(strip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((i & 1) ? 29 : 31, 10)); }},
      {"drag step, diagonal",
       [&](int i) {
         const int d = (i & 1) ? -1 : 1;
         ::SendMessageW(strip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30 + d, 10 + d));
       }},
      {"  hover move within one button", [&](int) { ::SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(8, 9)); }},
      {"  a move over art (mouse path)",
       [&](int) { ::SendMessageW(main.Picture6.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(8, 9)); }},
      {"  three looks loaded",
       [&](int) {
         for (int id : {102, 104, 107}) forms::LoadResPicture(id, forms::vbResBitmap);
       }},
      {"  a look drawn at once",
       [&](int) {
         const forms::WindowDc dc(button);
         look.Render(dc.Get(), 0, 0);
       }},
      {"  a look through a paint cycle",
       [&](int) {
         ::InvalidateRect(button, nullptr, FALSE);
         ::UpdateWindow(button);
       }},
      {"  one move of the window", [&](int i) { main.Left(main.Left() + ((i & 1) ? -15.0f : 15.0f)); }},
  };

  ::SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
  std::vector<Timings> timings(variants.size());
  for (int round = 0; round < kRounds; ++round) {
    for (size_t v = 0; v < variants.size(); ++v) timings[v].microseconds.push_back(MicrosecondsPerCall(variants[v].call));
    for (Timings& t : timings) t.ratios.push_back(t.microseconds.back() / timings[0].microseconds.back());
    support::PumpMessages();
  }
  ::SendMessageW(strip, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));

  std::printf("median of %d rounds of %d calls\n", kRounds, kRepeats);
  for (size_t v = 0; v < variants.size(); ++v) {
    std::printf("%-38s %8.1f us  %6.2f x SetWindowPos\n", variants[v].name, Median(timings[v].microseconds),
                Median(timings[v].ratios));
  }
  forms::Forms::DestroyAllForTesting();
  return 0;
}
