// Records chosen messages of chosen windows in the order they arrive, ahead of the windows' own
// procedures (which still get every message). One recorder at a time.
#pragma once

#include <windows.h>

#include <algorithm>
#include <map>
#include <vector>

namespace sonbrel::testing_support {

class MessageRecorder {
 public:
  struct Record {
    HWND window;
    UINT message;
    WINDOWPOS pos;  // as asked for, before any other procedure sees it (WM_WINDOWPOSCHANGING)
  };

  MessageRecorder(std::vector<HWND> windows, std::vector<UINT> messages) : messages_(std::move(messages)) {
    active_ = this;
    for (HWND w : windows)
      previous_[w] = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
  }
  ~MessageRecorder() {
    for (auto [w, proc] : previous_) ::SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    active_ = nullptr;
  }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  std::vector<Record> records;

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageRecorder& self = *active_;
    if (std::find(self.messages_.begin(), self.messages_.end(), message) != self.messages_.end()) {
      Record record{w, message, {}};
      if (message == WM_WINDOWPOSCHANGING) record.pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
      self.records.push_back(record);
    }
    return ::CallWindowProcW(self.previous_[w], w, message, wParam, lParam);
  }

  static inline MessageRecorder* active_ = nullptr;
  std::vector<UINT> messages_;
  std::map<HWND, WNDPROC> previous_;
};

}  // namespace sonbrel::testing_support
