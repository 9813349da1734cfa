// station_server.exe: the station server as a program, for scripts/run and the page's browser
// tests. Serves until Ctrl+C or the end of its console.
//
//   station_server.exe [--root FOLDER] [--port N] [--track-seconds N]
//
// --port 0 picks a free port; the first line of output names the address either way.
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "support/station_server.h"

namespace {

HANDLE g_stop = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD) {
  ::SetEvent(g_stop);
  return TRUE;
}

int Usage() {
  std::fputs("usage: station_server [--root FOLDER] [--port N] [--track-seconds N]\n", stderr);
  return 2;
}

bool ParseNumber(const wchar_t* text, long low, long high, long& value) {
  wchar_t* end = nullptr;
  value = std::wcstol(text, &end, 10);
  return end != text && *end == L'\0' && value >= low && value <= high;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring root = L"station";
  long port = 8917;
  support::StationServerSettings settings;
  for (int i = 1; i < argc; ++i) {
    std::wstring option = argv[i];
    if (i + 1 >= argc) return Usage();
    const wchar_t* value = argv[++i];
    long number = 0;
    if (option == L"--root") {
      root = value;
    } else if (option == L"--port" && ParseNumber(value, 0, 65535, number)) {
      port = number;
    } else if (option == L"--track-seconds" && ParseNumber(value, 1, 86400, number)) {
      settings.trackSeconds = static_cast<int>(number);
    } else {
      return Usage();
    }
  }

  forms::UniqueKernelHandle stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  g_stop = stop.Get();
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  support::LoopbackStationServer server(root, static_cast<uint16_t>(port), settings);
  if (!server.Listening()) {
    std::fprintf(stderr, "station_server: cannot listen on 127.0.0.1:%ld\n", port);
    return 1;
  }
  std::printf("station_server: http://127.0.0.1:%u/\n", static_cast<unsigned>(server.Port()));
  std::fflush(stdout);
  ::WaitForSingleObject(stop.Get(), INFINITE);
  return 0;
}
