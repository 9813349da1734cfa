// Records what the screen shows while the real program switches views: the window's place is read
// as fast as the screen can be read, from just before a real click's release until half a second
// after, and every frame that differs from the one before is written as a PPM picture
// (<folder>/<switch>-<n>.ppm) with the milliseconds since the release. Then the program's processor
// time over five seconds at rest.
//   cmake/wine-run build/windows-x64/tools/benchmarks/switch_frames.exe Z:/tmp/frames
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "support/station_server.h"
#include "support/user_input.h"
#include "support/window_probe.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Frame {
  double ms;
  support::Pixels pixels;
};

std::vector<Frame> FramesAroundRelease(const RECT& area) {
  std::vector<Frame> frames{{0, support::ReadScreen(area)}};
  std::atomic<bool> reading = true;
  const Clock::time_point released = Clock::now();
  std::thread reader([&] {
    while (reading) {
      support::Pixels pixels = support::ReadScreen(area);
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - released).count();
      if (support::DifferingPixels(pixels, frames.back().pixels) != 0) frames.push_back({ms, std::move(pixels)});
    }
  });
  support::ReleaseButton();
  ::Sleep(500);
  reading = false;
  reader.join();
  return frames;
}

void Write(const support::Pixels& pixels, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fprintf(file, "P6 %d %d 255\n", pixels.width, pixels.height);
  for (COLORREF c : pixels.colors) {
    const unsigned char rgb[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    std::fwrite(rgb, 1, 3, file);
  }
  std::fclose(file);
}

double ProcessorMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(process, &created, &exited, &kernel, &user);
  const auto ms = [](FILETIME t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;  // 100 ns units
  };
  return ms(kernel) + ms(user);
}

RECT Union(RECT a, const RECT& b) {
  ::UnionRect(&a, &a, &b);
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_TEST_WEB_PORT};
  support::ChildProcess program = support::ChildProcess::Start(L"\"" + std::wstring(SONBREL_EXE) + L"\"");
  HWND window = nullptr;
  support::WaitFor([&] { return (window = support::VisibleWindowOf(program.Id(), L"Harlune网络FM播放器")); }, 15000);
  if (!window || !support::WaitFor([&] { return !support::LayeredAlpha(window); }, 10000)) {
    std::printf("the main window did not show\n");
    return 1;
  }
  ::Sleep(1000);  // the page settles
  // Each switch: the button (in window pixels, in the face it is on) and a name.
  const struct { POINT button; const char* name; } switches[] = {
      {{262, 111}, "open-panel"}, {{262, 111}, "close-panel"}, {{276, 13}, "to-mini"}, {{228, 17}, "to-normal"}};
  for (const auto& step : switches) {
    const RECT before = support::DescribeWindow(window).rect;
    support::MovePointerTo({before.left + step.button.x, before.top + step.button.y});
    support::PressButton();
    ::Sleep(300);
    const RECT area = Union(before, {before.left, before.top, before.left + 308, before.top + 441});
    const std::vector<Frame> frames = FramesAroundRelease(area);
    std::printf("%-12s %zu frames:", step.name, frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
      std::printf(" %.0f ms", frames[i].ms);
      Write(frames[i].pixels, folder + "/" + step.name + "-" + std::to_string(i) + ".ppm");
    }
    std::printf("\n");
    support::MovePointerTo({0, 0});
    ::Sleep(300);
  }
  const double before = ProcessorMs(program.Handle());
  ::Sleep(5000);
  std::printf("at rest afterwards: %.0f ms of processor time in 5 s\n", ProcessorMs(program.Handle()) - before);
  program.Terminate();
  program.WaitForExit(5000);
  return 0;
}
