#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/app.h"
#include "forms/handles.h"
#include "support/window_probe.h"

namespace {

enum class Shown { Visible, Hidden, Minimized };

// Popups shown without activation: Wine without a window manager waits 2 s for every window it
// manages to be withdrawn when it is hidden or destroyed.
forms::UniqueWindow MakeWindow(const std::wstring& title, Shown shown) {
  forms::UniqueWindow window(::CreateWindowExW(0, L"STATIC", title.c_str(), WS_POPUP, 10, 10, 200, 100, nullptr,
                                               nullptr, nullptr, nullptr));
  if (shown != Shown::Hidden) ::ShowWindow(window.Get(), shown == Shown::Visible ? SW_SHOWNOACTIVATE : SW_SHOWMINNOACTIVE);
  return window;
}

// Each window lies above the ones before it in the z-order.
TEST(AppActivate, ChoosesExactBeforePrefixVisibleBeforeHiddenThenTheFrontmost) {
  const struct {
    const char* name;
    std::vector<std::pair<std::wstring, Shown>> windows;
    std::wstring query;
    int chosen;  // index into windows, -1 for none
  } cases[] = {
      {"exact beats a prefix above it, ignoring case",
       {{L"radio", Shown::Visible}, {L"Radio player", Shown::Visible}}, L"RADIO", 0},
      {"visible before hidden among exact matches",
       {{L"Radio", Shown::Visible}, {L"Radio", Shown::Hidden}}, L"Radio", 0},
      {"the frontmost of equals", {{L"Radio one", Shown::Visible}, {L"Radio two", Shown::Visible}}, L"Radio", 1},
      {"a minimized window is restored",
       {{L"Radio", Shown::Minimized}, {L"Radio player", Shown::Visible}}, L"Radio", 0},
      {"a prefix of the query is no match", {{L"Radio", Shown::Visible}}, L"Radio player", -1},
  };
  // Unique per process, so windows of tests running beside us never match.
  const std::wstring stem = L"Activate" + std::to_wstring(::GetCurrentProcessId()) + L" ";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<forms::UniqueWindow> windows;
    for (const auto& [title, shown] : c.windows) windows.push_back(MakeWindow(stem + title, shown));
    forms::UniqueWindow bystander = MakeWindow(L"Bystander", Shown::Visible);
    ::SetForegroundWindow(bystander.Get());
    support::PumpMessages();
    ASSERT_EQ(::GetForegroundWindow(), bystander.Get());
    EXPECT_EQ(forms::AppActivate(stem + c.query), c.chosen >= 0);
    support::PumpMessages();
    EXPECT_EQ(::GetForegroundWindow(), c.chosen >= 0 ? windows[c.chosen].Get() : bystander.Get());
    if (c.windows[0].second == Shown::Minimized) {
      EXPECT_FALSE(::IsIconic(windows[0].Get()));
    }
  }
}

}  // namespace
