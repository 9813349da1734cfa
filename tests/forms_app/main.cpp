#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <vector>

#include "child_process.h"
#include "forms/app.h"

namespace forms_test {

std::wstring ThisExecutable() {
  std::vector<wchar_t> path(MAX_PATH);
  while (::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  return path.data();
}

int RunChild(const std::wstring& exe, const std::wstring& argument) {
  std::wstring commandLine = L"\"" + exe + L"\" " + argument;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    return -1;
  }
  ::CloseHandle(process.hThread);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

namespace {

std::optional<int> RunAsChild(const wchar_t* job) {
  if (std::wcscmp(job, kReportPrevInstance) == 0) {
    return forms::App().PrevInstance() ? kSawPrevInstance : kSawNoPrevInstance;
  }
  if (std::wcscmp(job, kEndAtOnce) == 0) {
    forms::End();
    return kReturnedFromEnd;
  }
  return std::nullopt;
}

}  // namespace
}  // namespace forms_test

int main(int argc, char** argv) {
  int wideCount = 0;
  LPWSTR* wideArgs = ::CommandLineToArgvW(::GetCommandLineW(), &wideCount);
  const std::optional<int> childCode =
      wideCount == 2 ? forms_test::RunAsChild(wideArgs[1]) : std::nullopt;
  ::LocalFree(wideArgs);
  if (childCode) return *childCode;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
