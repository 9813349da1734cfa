#include <windows.h>

#include "forms/controls.h"
#include "forms/form.h"

namespace forms {

Timer::Timer(Form& owner) : owner_(owner) { owner_.AddTimer(*this); }

Timer::~Timer() {
  Detach();
  owner_.RemoveTimer(*this);
}

void Timer::Interval(unsigned milliseconds) {
  interval_ = milliseconds;
  Apply();
}

void Timer::Enabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void Timer::Attach(HWND form) {
  form_ = form;
  Apply();
}

void Timer::Detach() {
  if (form_) ::KillTimer(form_, Id());
  form_ = nullptr;
}

// Setting the timer again with the same id restarts its period.
void Timer::Apply() {
  if (!form_) return;
  if (enabled_ && interval_ > 0) {
    ::SetTimer(form_, Id(), interval_, nullptr);
  } else {
    ::KillTimer(form_, Id());
  }
}

}  // namespace forms
