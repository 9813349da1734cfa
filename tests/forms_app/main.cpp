// The application object's tests, and main: the test executable doubles as the second process.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "forms/app.h"
#include "support/window_probe.h"

namespace {

using forms::App;

constexpr wchar_t kReportPrevInstance[] = L"--report-prev-instance";
constexpr wchar_t kEndAtOnce[] = L"--end-at-once";
enum ChildExit { kSawNoPrevInstance = 10, kSawPrevInstance, kReturnedFromEnd };

std::optional<int> RunAsChild(const std::wstring& job) {
  if (job == kReportPrevInstance) return App().PrevInstance() ? kSawPrevInstance : kSawNoPrevInstance;
  if (job == kEndAtOnce) {
    forms::End();
    return kReturnedFromEnd;
  }
  return std::nullopt;
}

std::wstring ThisExecutable() {
  wchar_t path[MAX_PATH * 4];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  return path;
}

// Runs `exe` with one argument and returns its exit code (-1 if it did not end).
int RunChild(const std::wstring& exe, const std::wstring& argument) {
  support::ChildProcess child = support::ChildProcess::Start(L"\"" + exe + L"\" " + argument);
  if (!child.WaitForExit(20000)) return -1;
  return static_cast<int>(child.ExitCode().value_or(~0u));
}

TEST(App, PrevInstanceIsHeldForTheProcessAndKeyedByTheFileName) {
  ASSERT_FALSE(App().PrevInstance());
  EXPECT_FALSE(App().PrevInstance());  // looking again must not find our own marker

  // The same file seen from a second process finds us; a copy under another name does not.
  const std::wstring self = ThisExecutable();
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring otherName =
      std::wstring(temp) + L"another_program_" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
  ASSERT_TRUE(::CopyFileW(self.c_str(), otherName.c_str(), FALSE));
  EXPECT_EQ(RunChild(self, kReportPrevInstance), kSawPrevInstance);
  EXPECT_EQ(RunChild(otherName, kReportPrevInstance), kSawNoPrevInstance);
  ::DeleteFileW(otherName.c_str());
}

TEST(App, VersionComesFromTheFileVersionOfTheExecutable) {
  EXPECT_EQ(App().Major(), 7);
  EXPECT_EQ(App().Minor(), 12);
  EXPECT_EQ(App().Revision(), 345);
}

TEST(End, ReplacementRunsInsteadAndTheRealOneExitsAtOnce) {
  int ends = 0;
  forms::ReplaceEndForTesting([&] { ++ends; });
  forms::End();
  EXPECT_EQ(ends, 1);
  forms::ReplaceEndForTesting({});
  EXPECT_EQ(RunChild(ThisExecutable(), kEndAtOnce), 0);
}

}  // namespace

int main(int argc, char** argv) {
  int wideCount = 0;
  LPWSTR* wideArgs = ::CommandLineToArgvW(::GetCommandLineW(), &wideCount);
  const std::optional<int> childCode = wideCount == 2 ? RunAsChild(wideArgs[1]) : std::nullopt;
  ::LocalFree(wideArgs);
  if (childCode) return *childCode;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
