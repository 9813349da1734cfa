// Looks at windows from the outside, as a user or the system sees them, and runs programs
// under test. Works on windows of any process.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/handles.h"

namespace support {

// Top-level windows whose caption is exactly `caption`, visible or hidden, of any process;
// visible ones first, each group in z-order.
std::vector<HWND> FindTopLevelWindows(const std::wstring& caption);
// The visible top-level window of a process with exactly this caption, or nullptr.
HWND VisibleWindowOf(DWORD processId, const std::wstring& caption);
// Top-level windows owned by a process, visible or hidden, in z-order.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

std::wstring WindowCaption(HWND window);
std::wstring WindowClass(HWND window);

// A copy of the window's region in window coordinates; empty when it has none.
forms::UniqueRegion WindowRegion(HWND window);
// True when the two regions cover the same pixels. EqualRgn is not enough: it compares the
// rectangle lists, and the same shape can be stored as different lists.
bool SameShape(HRGN a, HRGN b);
int RegionRectCount(HRGN region);

// The alpha a layered window is drawn with; empty when the window is not layered or has no
// alpha of its own (colour key only, or UpdateLayeredWindow).
std::optional<BYTE> LayeredAlpha(HWND window);

struct ChildWindow {
  HWND window;
  std::wstring className;
  int id;
  RECT rect;  // in the parent's client coordinates
};
// Direct children with WS_VISIBLE set (even while the parent itself is hidden), topmost first.
std::vector<ChildWindow> VisibleChildren(HWND parent);

struct WindowFacts {
  HWND window = nullptr;
  DWORD processId = 0;
  std::wstring caption;
  std::wstring className;
  bool visible = false;
  RECT rect{};
  bool hasRegion = false;
  RECT regionBox{};  // window coordinates
  int regionRects = 0;
  std::optional<BYTE> alpha;
  LONG_PTR style = 0;
  LONG_PTR exStyle = 0;
  std::vector<ChildWindow> children;
};
WindowFacts DescribeWindow(HWND window);
// One line per fact, "name value...", UTF-8, "\n" line ends; the format probe.exe prints.
std::string FormatFacts(const WindowFacts& facts);

// Dispatches every message waiting for this thread.
void PumpMessages();
// Checks `done` until it holds or the time is up, pumping this thread's messages meanwhile.
// With a `wakeup` event the check runs whenever it is signalled (and on messages); without one
// it runs every few milliseconds.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs, HANDLE wakeup = nullptr);

// A program started for a test. Ends it on destruction if it still runs, so a failed test
// leaves no copy behind to disturb the next one.
class ChildProcess {
 public:
  // `commandLine` is passed as is; quote the program's path yourself when it has spaces.
  static ChildProcess Start(const std::wstring& commandLine, DWORD creationFlags = 0);
  ChildProcess(ChildProcess&&) noexcept = default;
  ChildProcess& operator=(ChildProcess&&) noexcept = default;
  ~ChildProcess();

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.Get(); }
  // Pumps this thread's messages while waiting; true when the process has ended.
  bool WaitForExit(DWORD timeoutMs) const;
  // Empty while the process runs.
  std::optional<DWORD> ExitCode() const;
  std::vector<HWND> Windows() const { return TopLevelWindowsOf(id_); }
  // The names of the modules it has loaded, lower case.
  std::vector<std::wstring> Modules() const;
  void Terminate();

 private:
  ChildProcess() = default;

  forms::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

}  // namespace support
