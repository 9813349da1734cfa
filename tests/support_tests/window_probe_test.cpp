#include "support/window_probe.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using forms::UniqueRegion;
using forms::UniqueWindow;

constexpr wchar_t kCaption[] = L"Probe target 探针";

// A skinned-looking window like the ones under test: borderless, layered, a rounded region,
// two children stacked one over the other.
class ProbedWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.Reset(::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"Static", kCaption, WS_POPUP, 40, 50, 308,
                                    161, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window_);
    ::SetLayeredWindowAttributes(window_.Get(), 0, 200, LWA_ALPHA);
    ::SetWindowRgn(window_.Get(), ::CreateRoundRectRgn(0, 0, 309, 162, 11, 11), TRUE);
    back_ = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 3, 3, 308, 161, window_.Get(),
                              reinterpret_cast<HMENU>(7), nullptr, nullptr);
    front_ = ::CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE, 216, 99, 93, 24, window_.Get(),
                               reinterpret_cast<HMENU>(8), nullptr, nullptr);
    ::SetWindowPos(front_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 10, 10, window_.Get(), reinterpret_cast<HMENU>(9),
                      nullptr, nullptr);
  }

  UniqueWindow window_;
  HWND back_ = nullptr;
  HWND front_ = nullptr;
};

TEST_F(ProbedWindowTest, FindsTheWindowByItsExactCaptionEvenWhileHidden) {
  EXPECT_EQ(support::FindTopLevelWindow(kCaption), window_.Get());
  EXPECT_EQ(support::FindTopLevelWindow(L"Probe target"), nullptr);
  std::vector<HWND> own = support::TopLevelWindowsOf(::GetCurrentProcessId());
  EXPECT_NE(std::find(own.begin(), own.end(), window_.Get()), own.end());
}

TEST_F(ProbedWindowTest, PrefersAVisibleWindowOverAHiddenOneOfTheSameCaption) {
  UniqueWindow twin(::CreateWindowExW(0, L"Static", kCaption, WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                      nullptr, nullptr, nullptr));
  std::vector<HWND> found = support::FindTopLevelWindows(kCaption);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], twin.Get());
  EXPECT_EQ(found[1], window_.Get());
}

TEST_F(ProbedWindowTest, ReportsRectRegionAlphaStylesAndChildren) {
  ::ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
  support::WindowFacts facts = support::DescribeWindow(window_.Get());

  EXPECT_TRUE(facts.visible);
  EXPECT_EQ(facts.rect.left, 40);
  EXPECT_EQ(facts.rect.top, 50);
  EXPECT_EQ(facts.rect.right, 348);
  EXPECT_EQ(facts.rect.bottom, 211);
  ASSERT_TRUE(facts.alpha.has_value());
  EXPECT_EQ(*facts.alpha, 200);
  EXPECT_TRUE(facts.style & WS_POPUP);
  EXPECT_TRUE(facts.exStyle & WS_EX_LAYERED);
  ASSERT_TRUE(facts.hasRegion);
  EXPECT_EQ(facts.regionBox.right, 308);  // the rounded corners leave the last column empty
  EXPECT_EQ(facts.regionBox.bottom, 161);

  ASSERT_EQ(facts.children.size(), 2u);  // the hidden third child is left out
  EXPECT_EQ(facts.children[0].window, front_);
  EXPECT_EQ(facts.children[0].id, 8);
  EXPECT_EQ(facts.children[0].rect.left, 216);
  EXPECT_EQ(facts.children[0].rect.bottom, 123);
  EXPECT_EQ(facts.children[1].window, back_);
  EXPECT_EQ(facts.children[1].rect.left, 3);
  EXPECT_EQ(facts.children[1].rect.right, 311);
}

TEST_F(ProbedWindowTest, ComparesTheRegionByShapeNotByRectangleList) {
  UniqueRegion region = support::WindowRegion(window_.Get());
  ASSERT_TRUE(region);
  UniqueRegion same(::CreateRoundRectRgn(0, 0, 309, 162, 11, 11));
  UniqueRegion squareCorners(::CreateRectRgn(0, 0, 308, 161));
  UniqueRegion biggerCorners(::CreateRoundRectRgn(0, 0, 309, 162, 13, 13));
  EXPECT_TRUE(support::SameShape(region.Get(), same.Get()));
  EXPECT_FALSE(support::SameShape(region.Get(), squareCorners.Get()));
  EXPECT_FALSE(support::SameShape(region.Get(), biggerCorners.Get()));
}

TEST_F(ProbedWindowTest, SeesNoRegionOrAlphaWhereThereIsNone) {
  ::SetWindowRgn(window_.Get(), nullptr, TRUE);
  ::SetWindowLongPtrW(window_.Get(), GWL_EXSTYLE, ::GetWindowLongPtrW(window_.Get(), GWL_EXSTYLE) & ~WS_EX_LAYERED);
  EXPECT_FALSE(support::WindowRegion(window_.Get()));
  EXPECT_FALSE(support::LayeredAlpha(window_.Get()).has_value());
  EXPECT_NE(support::FormatFacts(support::DescribeWindow(window_.Get())).find("region none\nalpha none\n"),
            std::string::npos);
}

TEST_F(ProbedWindowTest, ProbeExePrintsTheFactsOfAnotherProcesssWindow) {
  ::ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
  support::ChildProcess probe =
      support::ChildProcess::Start(std::wstring(L"\"") + SONBREL_PROBE_EXE + L"\" \"" + kCaption + L"\"", true);
  ASSERT_TRUE(probe.Started());
  std::string output = probe.Output(20000);
  ASSERT_EQ(probe.ExitCode(), 0u) << output;

  std::istringstream lines(output);
  std::string line;
  std::vector<std::string> facts;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a console program's text mode
    facts.push_back(line);
  }
  auto has = [&facts](const std::string& wanted) {
    return std::find(facts.begin(), facts.end(), wanted) != facts.end();
  };
  EXPECT_TRUE(has("caption Probe target \xe6\x8e\xa2\xe9\x92\x88")) << output;
  EXPECT_TRUE(has("visible 1")) << output;
  EXPECT_TRUE(has("rect 40 50 348 211")) << output;
  EXPECT_TRUE(has("size 308 161")) << output;
  EXPECT_TRUE(has("alpha 200")) << output;
  EXPECT_TRUE(has("topmost 0")) << output;
  auto countStarting = [&facts](const std::string& prefix) {
    return std::count_if(facts.begin(), facts.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  };
  EXPECT_EQ(countStarting("region 0 0 308 161 rects "), 1) << output;
  EXPECT_EQ(countStarting("child "), 2) << output;
}

TEST(ProbeExe, ExitsWith1WhenNoWindowHasTheCaptionAnd2OnABadCommandLine) {
  support::ChildProcess missing =
      support::ChildProcess::Start(std::wstring(L"\"") + SONBREL_PROBE_EXE + L"\" \"no such window 8917\"", true);
  missing.Output(20000);
  EXPECT_EQ(missing.ExitCode(), 1u);
  support::ChildProcess bad = support::ChildProcess::Start(std::wstring(L"\"") + SONBREL_PROBE_EXE + L"\"", true);
  bad.Output(20000);
  EXPECT_EQ(bad.ExitCode(), 2u);
}

TEST(ChildProcess, WaitsWithATimeoutAndEndsAStillRunningChildOnDestruction) {
  HANDLE process = nullptr;
  {
    support::ChildProcess waiting = support::ChildProcess::Start(
        std::wstring(L"\"") + SONBREL_PROBE_EXE + L"\" --wait 30000 \"no such window 8917\"");
    ASSERT_TRUE(waiting.Started());
    EXPECT_FALSE(waiting.WaitForExit(300));
    EXPECT_FALSE(waiting.ExitCode().has_value());
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), waiting.Handle(), ::GetCurrentProcess(), &process, 0,
                                  FALSE, DUPLICATE_SAME_ACCESS));
  }
  forms::UniqueKernelHandle own(process);
  EXPECT_EQ(::WaitForSingleObject(process, 0), WAIT_OBJECT_0);
}

bool timerFired = false;
void CALLBACK MarkTimerFired(HWND, UINT, UINT_PTR, DWORD) { timerFired = true; }

TEST(WaitFor, ReturnsOnceThePredicateHoldsAndPumpsMeanwhile) {
  // The timer only fires if WaitFor dispatches this thread's messages.
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, MarkTimerFired);
  EXPECT_TRUE(support::WaitFor([] { return timerFired; }, 5000));
  ::KillTimer(nullptr, timer);
  EXPECT_FALSE(support::WaitFor([] { return false; }, 50));
}

}  // namespace
