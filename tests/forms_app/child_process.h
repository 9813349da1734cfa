// The test executable doubles as the second process some tests need.
#pragma once

#include <string>

namespace forms_test {

// Arguments that turn the test executable into a child with one job.
inline constexpr wchar_t kReportPrevInstance[] = L"--report-prev-instance";
inline constexpr wchar_t kEndAtOnce[] = L"--end-at-once";

// Exit codes of the children; a crash gives none of them.
inline constexpr int kSawNoPrevInstance = 10;
inline constexpr int kSawPrevInstance = 11;
inline constexpr int kReturnedFromEnd = 12;

std::wstring ThisExecutable();
// Runs `exe` with one argument, waits for it and returns its exit code (-1 if it did not start).
int RunChild(const std::wstring& exe, const std::wstring& argument);

}  // namespace forms_test
