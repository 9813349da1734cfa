// Times each view-mode switch and a hide to the notification area with its restore, against a
// plain SetWindowPos resize of the same window in the same run, and prints the ratios.
//   cmake/wine-run build/windows-x64/tools/benchmarks/mode_switch_timing.exe
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "forms/forms.h"
#include "mainwindow/Form1.h"
#include "shared/application.h"
#include "support/window_probe.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 200;

// Mean microseconds of each of the two actions, run alternately so each starts from the other's
// end; the paints they cause are drawn inside the timing.
struct PairTiming {
  double there, back;
};

PairTiming TimePair(const std::function<void()>& there, const std::function<void()>& back) {
  std::chrono::duration<double, std::micro> thereTime{}, backTime{};
  for (int i = 0; i < kRounds; ++i) {
    Clock::time_point start = Clock::now();
    there();
    support::PumpMessages();
    thereTime += Clock::now() - start;
    start = Clock::now();
    back();
    support::PumpMessages();
    backTime += Clock::now() - start;
  }
  return {thereTime.count() / kRounds, backTime.count() / kRounds};
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
  const PairTiming plain = TimePair(resize(441), resize(161));
  const double baseline = (plain.there + plain.back) / 2;
  const PairTiming panel = TimePair([&] { main.Picture2_Click(); }, [&] { main.Picture1_Click(); });
  const PairTiming mini = TimePair([&] { main.Picture11_Click(); }, [&] { main.Picture12_Click(); });
  const PairTiming tray = TimePair([&] { main.Picture10_Click(); },
                                   [&] { ::SendMessageW(window, WM_MOUSEMOVE, 1, MAKELPARAM(WM_LBUTTONDBLCLK, 0)); });

  std::printf("%d rounds; plain SetWindowPos resize %.0f us\n", kRounds, baseline);
  const struct {
    const char* name;
    double us;
  } rows[] = {{"open panel", panel.there},     {"close panel", panel.back}, {"to mini mode", mini.there},
              {"to normal mode", mini.back},   {"hide to tray", tray.there}, {"restore from tray", tray.back}};
  for (const auto& row : rows) std::printf("%-18s %8.0f us  %5.1f x resize\n", row.name, row.us, row.us / baseline);
  forms::Forms::DestroyAllForTesting();
  return 0;
}
