// How a control presents itself to assistive technology: screen readers and UI inspectors read
// these through Active Accessibility; a control given none stays out of their way.
#pragma once

#include <string>

namespace forms {

enum class AccessibleRole { None, PushButton, Link };

struct Accessibility {
  AccessibleRole role = AccessibleRole::None;
  std::wstring name;
  std::wstring value;          // a link's address
  std::wstring defaultAction;  // what the default action is called; the action is the click
};

}  // namespace forms
