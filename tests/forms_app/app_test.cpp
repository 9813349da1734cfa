#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "forms/app.h"

namespace {

using forms::App;

std::wstring UniqueTitle(const wchar_t* stem) {
  return stem + std::to_wstring(::GetCurrentProcessId());
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A folder of its own in the temporary directory, removed with whatever was copied into it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    path_ = temp + UniqueTitle(name) + L"\\";
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const auto& file : files_) ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(path_.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::wstring CopyOf(const std::wstring& source, const std::wstring& name) {
    files_.push_back(path_ + name);
    ::CopyFileW(source.c_str(), files_.back().c_str(), FALSE);
    return files_.back();
  }

 private:
  std::wstring path_;
  std::vector<std::wstring> files_;
};

TEST(App, PrevInstanceIsHeldForTheProcessAndKeyedByTheFileName) {
  ASSERT_FALSE(App().PrevInstance());
  // Looking again must not find our own marker.
  EXPECT_FALSE(App().PrevInstance());

  const std::wstring self = forms_test::ThisExecutable();
  const std::wstring fileName = self.substr(self.find_last_of(L"\\/") + 1);
  std::wstring upperName = fileName;
  ::CharUpperBuffW(upperName.data(), static_cast<DWORD>(upperName.size()));
  // Folders of their own: file names may compare without case.
  ScratchFolder scratch(L"forms_app_copies_");
  ScratchFolder otherScratch(L"forms_app_upper_");
  const struct {
    const wchar_t* what;
    std::wstring exe;
    int seen;
  } copies[] = {
      {L"this very file", self, forms_test::kSawPrevInstance},
      {L"same name elsewhere", scratch.CopyOf(self, fileName), forms_test::kSawPrevInstance},
      {L"same name, other case", otherScratch.CopyOf(self, upperName), forms_test::kSawPrevInstance},
      {L"another name", scratch.CopyOf(self, L"another_program.exe"),
       forms_test::kSawNoPrevInstance},
  };
  for (const auto& copy : copies) {
    EXPECT_EQ(forms_test::RunChild(copy.exe, forms_test::kReportPrevInstance), copy.seen)
        << testing::PrintToString(std::wstring(copy.what));
  }
}

TEST(App, VersionComesFromTheFileVersionOfTheExecutable) {
  EXPECT_EQ(App().Major(), 7);
  EXPECT_EQ(App().Minor(), 12);
  EXPECT_EQ(App().Revision(), 345);
}

TEST(App, TitleNamesAHiddenTopLevelWindowAndRenamesIt) {
  const std::wstring title = UniqueTitle(L"Application title ");
  App().Title(title);
  HWND window = App().hWnd();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(App().Title(), title);
  EXPECT_EQ(::FindWindowW(nullptr, title.c_str()), window);
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(::GetAncestor(window, GA_PARENT), ::GetDesktopWindow());

  App().Title(L"");
  EXPECT_EQ(App().hWnd(), window);
  EXPECT_EQ(WindowText(window), L"");
  EXPECT_EQ(::FindWindowW(nullptr, title.c_str()), nullptr);
}

TEST(End, ReplacementRunsInsteadAndTheRealOneExitsAtOnce) {
  int ends = 0;
  forms::ReplaceEndForTesting([&] { ++ends; });
  forms::End();
  EXPECT_EQ(ends, 1);
  forms::ReplaceEndForTesting({});

  EXPECT_EQ(forms_test::RunChild(forms_test::ThisExecutable(), forms_test::kEndAtOnce), 0);
}

}  // namespace
