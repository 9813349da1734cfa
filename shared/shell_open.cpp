#include "shared/shell_open.h"

#include <shellapi.h>

#include "forms/text.h"

namespace sonbrel {

namespace {

// Wine's shell even crashes on longer ones.
constexpr size_t kLongestUrl = 2083;

ShellExecuteCall& ShellExecuteReplacement() {
  static ShellExecuteCall replacement;
  return replacement;
}

}  // namespace

void ReplaceShellExecuteForTesting(ShellExecuteCall call) { ShellExecuteReplacement() = std::move(call); }

void OpenInDefaultBrowser(const std::wstring& address) {
  if (address.size() > kLongestUrl) return;
  const std::string file = forms::ToCodePage(address, CP_ACP);
  if (ShellExecuteReplacement()) {
    ShellExecuteReplacement()(nullptr, "Open", file.c_str(), "", "", SW_SHOWNORMAL);
  } else {
    ::ShellExecuteA(nullptr, "Open", file.c_str(), "", "", SW_SHOWNORMAL);
  }
}

}  // namespace sonbrel
