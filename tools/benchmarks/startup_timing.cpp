// Starts Sonbrel.exe a few times and prints how long it takes until the splash shows, until the
// main window shows and until the station page is asked for, each against an empty program's first
// window (empty_window.exe, built beside this) started in the same round, in turn with it.
// Another build of the program to time may be named on the command line (to compare two builds).
// Then it says where the time to the first window goes, for both programs: to the entry point
// (the loader and the DLLs it imports), to the window's creation and on to its showing, with the
// DLLs each process had loaded by then.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "support/station_server.h"
#include "support/window_probe.h"
#include "tools/benchmarks/medians.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 21;  // the ratio moves by a tenth between runs of 11 rounds on a busy machine
constexpr int kBreakdownRuns = 5;
constexpr DWORD kWindowTimeoutMs = 10000;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}


// Looks every millisecond, the same for both programs: a coarser look would round both figures
// to its step and blur the ratio.
template <class Done>
bool PollFor(Done done, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(1);
  }
  return true;
}

bool HasWindow(DWORD processId, const std::wstring& caption) {
  for (HWND window : support::FindTopLevelWindows(caption)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return true;
  }
  return false;
}

// When a window of the process with this caption was created and when one became visible (the
// main window shares its caption with the hidden application window).
struct WindowMarks {
  double created = 0, visible = 0;
};

WindowMarks WaitForWindow(DWORD processId, const std::wstring& caption, Clock::time_point start) {
  WindowMarks marks;
  PollFor([&] { return HasWindow(processId, caption); }, kWindowTimeoutMs);
  marks.created = MsSince(start);
  PollFor([&] { return support::VisibleWindowOf(processId, caption) != nullptr; }, kWindowTimeoutMs);
  marks.visible = MsSince(start);
  return marks;
}

// A process of the benchmark's, ended with the round.
support::ChildProcess Start(const wchar_t* exe, DWORD flags) {
  support::ChildProcess process = support::ChildProcess::Start(L"\"" + std::wstring(exe) + L"\"", flags);
  if (!process.Started()) {
    std::printf("cannot start %ls (error %lu)\n", exe, ::GetLastError());
    std::exit(1);
  }
  return process;
}

// The moment the process reaches its entry point: the loader has mapped and initialised every DLL
// the program imports. Found as a debugger finds it, with a breakpoint on the entry; the debugger
// then leaves, so the rest of the start runs as it would alone.
struct EntryMark {
  double mapped = 0;  // the new process has its program mapped: what any start costs
  double ms = 0;
  int dlls = 0;  // loaded before the entry, the program itself not counted
};

ULONG_PTR EntryPointOf(HANDLE process, void* imageBase) {
  const auto base = reinterpret_cast<ULONG_PTR>(imageBase);
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS nt{};
  ::ReadProcessMemory(process, imageBase, &dos, sizeof dos, nullptr);
  ::ReadProcessMemory(process, reinterpret_cast<void*>(base + dos.e_lfanew), &nt, sizeof nt, nullptr);
  return base + nt.OptionalHeader.AddressOfEntryPoint;
}

void StepBackOnto(HANDLE thread, ULONG_PTR address) {
  CONTEXT context{};
  context.ContextFlags = CONTEXT_CONTROL;
  ::GetThreadContext(thread, &context);
#ifdef _WIN64
  context.Rip = address;
#else
  context.Eip = address;
#endif
  ::SetThreadContext(thread, &context);
}

EntryMark RunToEntry(DWORD processId, Clock::time_point start) {
  EntryMark mark;
  HANDLE process = nullptr, thread = nullptr;
  ULONG_PTR entry = 0;
  BYTE saved = 0;
  DEBUG_EVENT event{};
  while (::WaitForDebugEvent(&event, kWindowTimeoutMs)) {
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT: {
        mark.mapped = MsSince(start);
        process = event.u.CreateProcessInfo.hProcess;
        thread = event.u.CreateProcessInfo.hThread;
        if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
        entry = EntryPointOf(process, event.u.CreateProcessInfo.lpBaseOfImage);
        const BYTE breakpoint = 0xCC;
        ::ReadProcessMemory(process, reinterpret_cast<void*>(entry), &saved, 1, nullptr);
        ::WriteProcessMemory(process, reinterpret_cast<void*>(entry), &breakpoint, 1, nullptr);
        ::FlushInstructionCache(process, reinterpret_cast<void*>(entry), 1);
        break;
      }
      case LOAD_DLL_DEBUG_EVENT:
        ++mark.dlls;
        if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
        break;
      case EXCEPTION_DEBUG_EVENT: {
        const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
        if (record.ExceptionCode != EXCEPTION_BREAKPOINT) {
          status = DBG_EXCEPTION_NOT_HANDLED;
          break;
        }
        if (reinterpret_cast<ULONG_PTR>(record.ExceptionAddress) != entry) break;  // the loader's own
        mark.ms = MsSince(start);
        ::WriteProcessMemory(process, reinterpret_cast<void*>(entry), &saved, 1, nullptr);
        ::FlushInstructionCache(process, reinterpret_cast<void*>(entry), 1);
        StepBackOnto(thread, entry);
        ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
        ::DebugSetProcessKillOnExit(FALSE);
        ::DebugActiveProcessStop(processId);
        return mark;
      }
      default:
        break;
    }
    ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
  std::printf("the entry point was never reached\n");
  std::exit(1);
}

struct Round {
  WindowMarks splash;
  double mainWindow = 0, page = 0;
};

Round SonbrelOnce(const wchar_t* exe, support::LoopbackStationServer& server, int pageRequestsBefore) {
  const Clock::time_point start = Clock::now();
  const support::ChildProcess program = Start(exe, 0);
  Round round;
  round.splash = WaitForWindow(program.Id(), L"Form3", start);
  round.mainWindow = WaitForWindow(program.Id(), L"Harlune网络FM播放器", start).visible;
  server.WaitForRequests("/sonbrel/index3.htm", pageRequestsBefore + 1, kWindowTimeoutMs);
  round.page = MsSince(start);
  return round;
}

// The baseline: from the start of the process until its window is visible.
WindowMarks EmptyOnce() {
  const Clock::time_point start = Clock::now();
  const support::ChildProcess program = Start(EMPTY_EXE, 0);
  return WaitForWindow(program.Id(), L"Empty", start);
}

struct Breakdown {
  std::vector<double> mapped, entry, created, visible;
  std::vector<double> dllsAtEntry, dllsAtVisible;
  std::vector<std::wstring> modules;  // of the last round, when the window showed
};

void BreakdownOnce(const wchar_t* exe, const std::wstring& caption, Breakdown& into) {
  const Clock::time_point start = Clock::now();
  const support::ChildProcess program = Start(exe, DEBUG_ONLY_THIS_PROCESS);
  const EntryMark entry = RunToEntry(program.Id(), start);
  const WindowMarks window = WaitForWindow(program.Id(), caption, start);
  into.mapped.push_back(entry.mapped);
  into.entry.push_back(entry.ms);
  into.created.push_back(window.created);
  into.visible.push_back(window.visible);
  into.dllsAtEntry.push_back(entry.dlls);
  into.modules = program.Modules();
  into.dllsAtVisible.push_back(static_cast<double>(into.modules.size()) - 1);
}


void PrintBreakdown(const char* name, const Breakdown& b) {
  const double mapped = Median(b.mapped), entry = Median(b.entry), created = Median(b.created),
               visible = Median(b.visible);
  std::printf("%-15s process %4.0f ms  +%4.0f ms to entry point (%2.0f DLLs)  +%4.0f ms to window created"
              "  +%4.0f ms to visible = %4.0f ms (%2.0f DLLs by then)\n",
              name, mapped, entry - mapped, Median(b.dllsAtEntry), created - entry, visible - created, visible,
              Median(b.dllsAtVisible));
}

void PrintBreakdowns(const wchar_t* exe) {
  Breakdown empty, splash;
  for (int i = 0; i < kBreakdownRuns; ++i) {
    BreakdownOnce(EMPTY_EXE, L"Empty", empty);
    BreakdownOnce(exe, L"Form3", splash);
  }
  std::printf("where the time to the first window goes (median of %d rounds, started under a debugger until"
              " the entry point):\n", kBreakdownRuns);
  PrintBreakdown("empty program", empty);
  PrintBreakdown("splash", splash);
  const std::set<std::wstring> emptyModules(empty.modules.begin(), empty.modules.end());
  std::printf("DLLs the splash has loaded that the empty program has not:");
  for (const std::wstring& name : splash.modules) {
    if (!emptyModules.count(name) && name.find(L".exe") == std::wstring::npos) std::printf(" %ls", name.c_str());
  }
  std::printf("\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* exe = argc > 1 ? argv[1] : SONBREL_EXE;
  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_TEST_WEB_PORT};
  if (!server.Listening()) {
    std::printf("port %d is taken\n", SONBREL_TEST_WEB_PORT);
    return 1;
  }
  EmptyOnce();  // both programs' DLLs are read once before anything is timed
  SonbrelOnce(exe, server, 0);
  std::vector<double> empty, splash, mainWindow, page;
  for (int i = 0; i < kRuns; ++i) {
    empty.push_back(EmptyOnce().visible);
    const Round round = SonbrelOnce(exe, server, i + 1);
    std::printf("run %d: empty program %.0f ms; splash %.0f ms, main window %.0f ms, page requested %.0f ms\n", i + 1,
                empty.back(), round.splash.visible, round.mainWindow, round.page);
    splash.push_back(round.splash.visible);
    mainWindow.push_back(round.mainWindow);
    page.push_back(round.page);
  }
  std::printf("median of %d rounds; baseline: an empty program's first window %.0f ms\n", kRuns, Median(empty));
  std::printf("splash visible        %6.0f ms  %5.2f x baseline\n", Median(splash), MedianRatio(splash, empty));
  std::printf("main window visible   %6.0f ms  %5.2f x baseline\n", Median(mainWindow), MedianRatio(mainWindow, empty));
  std::printf("page requested        %6.0f ms  %5.2f x baseline\n", Median(page), MedianRatio(page, empty));
  PrintBreakdowns(exe);
  return 0;
}
