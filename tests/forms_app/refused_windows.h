// Windows the system refuses to create, for tests of what the runtime does then.
#pragma once

#include <windows.h>

#include <string>

// The system refuses to create windows of one class for as long as this lives.
class RefusedWindows {
 public:
  explicit RefusedWindows(const wchar_t* className) {
    refusedClass_ = className;
    hook_ = ::SetWindowsHookExW(WH_CBT, Refuse, nullptr, ::GetCurrentThreadId());
  }
  ~RefusedWindows() { ::UnhookWindowsHookEx(hook_); }
  bool Active() const { return hook_ != nullptr; }

 private:
  static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t name[64] = {};
    if (code == HCBT_CREATEWND && ::GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64) &&
        refusedClass_ == name) {
      return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline std::wstring refusedClass_;
  HHOOK hook_ = nullptr;
};
