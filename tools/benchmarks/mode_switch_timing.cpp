// Times each view-mode switch and a hide to the notification area with its restore, against a
// plain SetWindowPos resize of the same window, and prints where a switch's time goes. The machine
// may be shared, so the variants take turns within each round and each ratio is the median of the
// rounds' ratios.
//   cmake/wine-run build/windows-x64/tools/benchmarks/mode_switch_timing.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "forms/forms.h"
#include "mainwindow/Form1.h"
#include "mainwindow/window_outline.h"
#include "shared/application.h"
#include "support/window_probe.h"
#include "tools/benchmarks/medians.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 21;
constexpr int kRepeats = 3;

// Two actions run alternately, so each starts from the other's end; the paints they cause are
// drawn inside the timing.
struct Pair {
  const char* there;
  const char* back;
  std::function<void()> doThere, doBack;
  std::vector<double> thereUs{}, backUs{};
};

double TimeOne(const std::function<void()>& action) {
  const Clock::time_point start = Clock::now();
  action();
  support::PumpMessages();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

void TimeRound(Pair& pair) {
  double there = 0, back = 0;
  for (int i = 0; i < kRepeats; ++i) {
    there += TimeOne(pair.doThere);
    back += TimeOne(pair.doBack);
  }
  pair.thereUs.push_back(there / kRepeats);
  pair.backUs.push_back(back / kRepeats);
}



}  // namespace

int main() {
  using sonbrel::Form1;
  forms::App().Title(sonbrel::kApplicationTitle);
  Form1& main = forms::Forms::Get<Form1>();
  main.Show();
  for (int tick = 0; tick < 50; ++tick) main.Timer1_Timer();  // opaque, as after the fade-in
  support::PumpMessages();
  HWND window = main.hWnd();

  const auto resize = [window](int height) {
    return [window, height] {
      ::SetWindowPos(window, nullptr, 0, 0, 308, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
  };
  // The steps of a switch one by one, each there and back.
  sonbrel::WindowOutline outline;
  forms::PictureBox* miniOnly[] = {&main.Picture14, &main.Picture15, &main.Picture16, &main.Picture17,
                                   &main.Picture18, &main.Picture19, &main.Picture20};
  const auto showMini = [&](bool on) {
    return [&, on] {
      for (forms::PictureBox* box : miniOnly) box->Visible(on);
    };
  };
  const auto repaintAll = [window] {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  std::vector<Pair> pairs = {
      {"plain SetWindowPos resize", "and back", resize(441), resize(161)},
      {"open panel", "close panel", [&] { main.Picture2_Click(); }, [&] { main.Picture1_Click(); }},
      {"to mini mode", "to normal mode", [&] { main.Picture11_Click(); }, [&] { main.Picture12_Click(); }},
      {"hide to tray", "restore from tray", [&] { main.Picture10_Click(); },
       [&] { ::SendMessageW(window, WM_MOUSEMOVE, 1, MAKELPARAM(WM_LBUTTONDBLCLK, 0)); }},
      {"step: height +4200 twips", "and back", [&] { main.Height(main.Height() + 4200); },
       [&] { main.Height(main.Height() - 4200); }},
      {"step: outline with panel", "round again", [&] { outline.RoundWithPanel(window, {308, 161}); },
       [&] { outline.Round(window, {308, 161}); }},
      {"step: seven pictures shown", "and hidden", showMini(true), showMini(false)},
      {"step: page moved", "and back", [&] { main.html.Top(main.html.Top() - 1940); },
       [&] { main.html.Top(main.html.Top() + 1940); }},
      {"step: whole window repainted", "again", repaintAll, repaintAll},
  };
  for (int round = 0; round < kRounds; ++round) {
    for (Pair& pair : pairs) TimeRound(pair);
  }

  const Pair& plain = pairs[0];
  std::vector<double> baseline;
  for (int i = 0; i < kRounds; ++i) baseline.push_back((plain.thereUs[i] + plain.backUs[i]) / 2);
  std::printf("median of %d rounds of %d; baseline: plain SetWindowPos resize %.0f us\n", kRounds, kRepeats,
              Median(baseline));
  for (const Pair& pair : pairs) {
    std::printf("%-30s %8.0f us  %5.1f x resize\n", pair.there, Median(pair.thereUs),
                MedianRatio(pair.thereUs, baseline));
    std::printf("%-30s %8.0f us  %5.1f x resize\n", pair.back, Median(pair.backUs), MedianRatio(pair.backUs, baseline));
  }
  forms::Forms::DestroyAllForTesting();
  return 0;
}
