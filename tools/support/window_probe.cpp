#include "support/window_probe.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>

#include "forms/text.h"

namespace support {
namespace {

constexpr DWORD kPredicatePollMs = 10;

std::string Narrow(const std::wstring& wide) { return forms::ToCodePage(wide, CP_UTF8); }

std::string Hex(ULONG_PTR value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llx", digits, static_cast<unsigned long long>(value));
  return text;
}

std::string Rect(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> AllTopLevelWindows() {
  std::vector<HWND> windows;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

DWORD ProcessOf(HWND window) {
  DWORD id = 0;
  ::GetWindowThreadProcessId(window, &id);
  return id;
}

}  // namespace

std::wstring WindowCaption(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

std::wstring WindowClass(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

std::vector<HWND> FindTopLevelWindows(const std::wstring& caption) {
  std::vector<HWND> found;
  for (HWND window : AllTopLevelWindows()) {
    if (WindowCaption(window) == caption) found.push_back(window);
  }
  std::stable_partition(found.begin(), found.end(), [](HWND w) { return ::IsWindowVisible(w) != FALSE; });
  return found;
}

HWND VisibleWindowOf(DWORD processId, const std::wstring& caption) {
  for (HWND window : FindTopLevelWindows(caption)) {
    if (ProcessOf(window) == processId && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::vector<HWND> windows = AllTopLevelWindows();
  std::erase_if(windows, [processId](HWND w) { return ProcessOf(w) != processId; });
  return windows;
}

forms::UniqueRegion WindowRegion(HWND window) {
  forms::UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
  int kind = ::GetWindowRgn(window, region.Get());
  if (kind == ERROR || kind == NULLREGION) region.Reset();
  return region;
}

bool SameShape(HRGN a, HRGN b) {
  forms::UniqueRegion difference(::CreateRectRgn(0, 0, 0, 0));
  return ::CombineRgn(difference.Get(), a, b, RGN_XOR) == NULLREGION;
}

int RegionRectCount(HRGN region) {
  DWORD size = ::GetRegionData(region, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return 0;
  std::vector<BYTE> data(size);
  if (::GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data())) == 0) return 0;
  return static_cast<int>(reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount);
}

std::optional<BYTE> LayeredAlpha(HWND window) {
  if (!(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return std::nullopt;
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!::GetLayeredWindowAttributes(window, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return std::nullopt;
  return alpha;
}

std::vector<ChildWindow> VisibleChildren(HWND parent) {
  std::vector<ChildWindow> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!(::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    children.push_back({child, WindowClass(child), ::GetDlgCtrlID(child), rect});
  }
  return children;
}

WindowFacts DescribeWindow(HWND window) {
  WindowFacts facts;
  facts.window = window;
  facts.processId = ProcessOf(window);
  facts.caption = WindowCaption(window);
  facts.className = WindowClass(window);
  facts.visible = ::IsWindowVisible(window) != FALSE;
  ::GetWindowRect(window, &facts.rect);
  if (forms::UniqueRegion region = WindowRegion(window)) {
    facts.hasRegion = true;
    ::GetRgnBox(region.Get(), &facts.regionBox);
    facts.regionRects = RegionRectCount(region.Get());
  }
  facts.alpha = LayeredAlpha(window);
  facts.style = ::GetWindowLongPtrW(window, GWL_STYLE);
  facts.exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  facts.children = VisibleChildren(window);
  return facts;
}

std::string FormatFacts(const WindowFacts& facts) {
  std::string out;
  auto line = [&out](const std::string& name, const std::string& value) { out += name + " " + value + "\n"; };
  line("window", Hex(reinterpret_cast<ULONG_PTR>(facts.window), 8));
  line("process", std::to_string(facts.processId));
  line("caption", Narrow(facts.caption));
  line("class", Narrow(facts.className));
  line("visible", facts.visible ? "1" : "0");
  line("rect", Rect(facts.rect));
  line("size", std::to_string(facts.rect.right - facts.rect.left) + " " +
                   std::to_string(facts.rect.bottom - facts.rect.top));
  line("region", facts.hasRegion ? Rect(facts.regionBox) + " rects " + std::to_string(facts.regionRects) : "none");
  line("alpha", facts.alpha ? std::to_string(*facts.alpha) : "none");
  line("style", Hex(static_cast<ULONG_PTR>(facts.style) & 0xffffffffu, 8));
  line("exstyle", Hex(static_cast<ULONG_PTR>(facts.exStyle) & 0xffffffffu, 8));
  line("topmost", (facts.exStyle & WS_EX_TOPMOST) ? "1" : "0");
  for (const ChildWindow& child : facts.children) {
    line("child", Hex(reinterpret_cast<ULONG_PTR>(child.window), 8) + " " + std::to_string(child.id) + " " +
                      Rect(child.rect) + " " + Narrow(child.className));
  }
  return out;
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs, HANDLE wakeup) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (true) {
    PumpMessages();
    if (done()) return true;
    ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return false;
    DWORD left = static_cast<DWORD>(deadline - now);
    ::MsgWaitForMultipleObjects(wakeup ? 1 : 0, wakeup ? &wakeup : nullptr, FALSE,
                                wakeup ? left : std::min(left, kPredicatePollMs), QS_ALLINPUT);
  }
}

ChildProcess ChildProcess::Start(const std::wstring& commandLine, DWORD creationFlags) {
  ChildProcess child;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring mutableLine = commandLine;  // CreateProcessW may write into it
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr,
                        &startup, &info)) {
    return child;
  }
  ::CloseHandle(info.hThread);
  child.process_.Reset(info.hProcess);
  child.id_ = info.dwProcessId;
  return child;
}

ChildProcess::~ChildProcess() { Terminate(); }

bool ChildProcess::WaitForExit(DWORD timeoutMs) const {
  HANDLE process = process_.Get();
  if (!process) return true;
  return WaitFor([process] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs, process);
}

std::vector<std::wstring> ChildProcess::Modules() const {
  std::vector<std::wstring> names;
  const HANDLE taken = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id_);
  if (taken == INVALID_HANDLE_VALUE) return names;
  forms::UniqueKernelHandle snapshot(taken);
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Module32FirstW(snapshot.Get(), &entry); more; more = ::Module32NextW(snapshot.Get(), &entry)) {
    std::wstring name = entry.szModule;
    ::CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
    names.push_back(name);
  }
  return names;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
  DWORD code = 0;
  if (!process_ || ::WaitForSingleObject(process_.Get(), 0) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process_.Get(), &code)) {
    return std::nullopt;
  }
  return code;
}

void ChildProcess::Terminate() {
  if (!process_ || ::WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0) return;
  ::TerminateProcess(process_.Get(), 1);
  ::WaitForSingleObject(process_.Get(), 5000);
}

}  // namespace support
