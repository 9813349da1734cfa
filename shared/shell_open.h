// Handing a web address to the shell, which opens it in the default browser.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace sonbrel {

// The shell's answer is not looked at: without a browser there is nothing better to do.
// Addresses longer than the shell and the browsers take are dropped.
void OpenInDefaultBrowser(const std::wstring& address);

// Tests put a recorder in the shell's place; empty restores the shell's ShellExecuteA.
using ShellExecuteCall = std::function<HINSTANCE(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)>;
void ReplaceShellExecuteForTesting(ShellExecuteCall call);

}  // namespace sonbrel
