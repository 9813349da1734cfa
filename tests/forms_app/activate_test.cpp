#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/app.h"
#include "forms/handles.h"

namespace {

enum class Shown { Visible, Hidden, Minimized };

struct TestWindow {
  std::wstring suffix;  // appended to the case's unique stem
  Shown shown;
};

ATOM TestWindowClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"FormsAppActivateTestWindow";
    return ::RegisterClassExW(&windowClass);
  }();
  return atom;
}

// Popups shown without activation: Wine without a window manager waits 2 s for every window
// it manages (captioned or shown active) to be withdrawn when it is hidden or destroyed.
forms::UniqueWindow MakeWindow(const std::wstring& title, Shown shown) {
  forms::UniqueWindow window(::CreateWindowExW(
      0, MAKEINTATOM(TestWindowClass()), title.c_str(), WS_POPUP, 10, 10, 200, 100, nullptr,
      nullptr, ::GetModuleHandleW(nullptr), nullptr));
  if (shown == Shown::Visible) ::ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
  if (shown == Shown::Minimized) ::ShowWindow(window.Get(), SW_SHOWMINNOACTIVE);
  return window;
}

void PumpPendingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

struct ActivateCase {
  const char* name;
  std::vector<TestWindow> windows;  // created in this order, so later ones lie above
  std::wstring query;               // appended to the stem
  int chosen;                       // index into windows, -1 for none
};

// The window that should win comes first, so that the decoys lie above it in the z-order.
const ActivateCase kCases[] = {
    {"exact beats a prefix above it, ignoring case",
     {{L"radio", Shown::Visible}, {L"Radio player", Shown::Visible}}, L"RADIO", 0},
    {"a hidden exact match beats a visible prefix",
     {{L"Radio", Shown::Hidden}, {L"Radio player", Shown::Visible}}, L"Radio", 0},
    {"visible before hidden among exact matches",
     {{L"Radio", Shown::Visible}, {L"Radio", Shown::Hidden}}, L"Radio", 0},
    {"visible before hidden among prefixes",
     {{L"Radio player", Shown::Visible}, {L"Radio tuner", Shown::Hidden}}, L"Radio", 0},
    {"a minimized window is restored",
     {{L"Radio", Shown::Minimized}, {L"Radio player", Shown::Visible}}, L"Radio", 0},
    {"a prefix of the query is no match",
     {{L"Radio", Shown::Visible}}, L"Radio player", -1},
    {"a title containing the query elsewhere is no match",
     {{L"My Radio", Shown::Visible}}, L"Radio", -1},
};

TEST(AppActivate, ChoosesExactBeforePrefixAndVisibleBeforeHidden) {
  for (const ActivateCase& c : kCases) {
    SCOPED_TRACE(c.name);
    // Unique per process, so windows of tests running beside us never match.
    const std::wstring stem = L"Activate" + std::to_wstring(::GetCurrentProcessId()) + L" ";
    std::vector<forms::UniqueWindow> windows;
    for (const TestWindow& w : c.windows) windows.push_back(MakeWindow(stem + w.suffix, w.shown));
    forms::UniqueWindow bystander = MakeWindow(L"Bystander", Shown::Visible);
    ::SetForegroundWindow(bystander.Get());
    PumpPendingMessages();
    ASSERT_EQ(::GetForegroundWindow(), bystander.Get());

    const bool activated = forms::AppActivate(stem + c.query);
    PumpPendingMessages();

    EXPECT_EQ(activated, c.chosen >= 0);
    HWND expected = c.chosen >= 0 ? windows[c.chosen].Get() : bystander.Get();
    EXPECT_EQ(::GetForegroundWindow(), expected);
    for (size_t i = 0; i < windows.size(); ++i) {
      const Shown shown = c.windows[i].shown;
      EXPECT_EQ(::IsWindowVisible(windows[i].Get()) != FALSE, shown != Shown::Hidden) << i;
      if (shown == Shown::Minimized) {
        EXPECT_EQ(::IsIconic(windows[i].Get()) != FALSE, static_cast<int>(i) != c.chosen) << i;
      }
    }
  }
}

TEST(AppActivate, FindsTheHiddenApplicationWindowOfThisProcess) {
  const std::wstring title = L"Application " + std::to_wstring(::GetCurrentProcessId());
  forms::App().Title(title);
  EXPECT_TRUE(forms::AppActivate(title));
  EXPECT_FALSE(::IsWindowVisible(forms::App().hWnd()));
  EXPECT_FALSE(forms::AppActivate(L""));
}

}  // namespace
