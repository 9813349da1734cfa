// Records one kind of message of chosen windows in arrival order, ahead of the windows' own
// procedures (which still get every message). One recorder at a time.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

namespace sonbrel::testing_support {

class MessageRecorder {
 public:
  struct Record {
    HWND window;
    WINDOWPOS pos;  // WM_WINDOWPOSCHANGING: as asked for, before the snapping sees it
  };

  MessageRecorder(const std::vector<HWND>& windows, UINT message) : message_(message) {
    active_ = this;
    for (HWND w : windows)
      previous_[w] = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
  }
  ~MessageRecorder() {
    for (auto [w, proc] : previous_) ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    active_ = nullptr;
  }

  std::vector<Record> records;

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageRecorder& self = *active_;
    if (message == self.message_) {
      self.records.push_back({w, {}});
      if (message == WM_WINDOWPOSCHANGING) self.records.back().pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
    }
    return ::CallWindowProcW(self.previous_[w], w, message, wParam, lParam);
  }

  static inline MessageRecorder* active_ = nullptr;
  UINT message_;
  std::map<HWND, WNDPROC> previous_;
};

}  // namespace sonbrel::testing_support
