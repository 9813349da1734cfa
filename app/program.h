// The one place that knows all of the program's windows and connects them, so that the splash
// and the main window need not know each other.
#pragma once

#include "forms/forms.h"

namespace sonbrel {

// The splash hands over to the main window, whose load hides the splash; the main window's about
// pictures show the about window.
void ConnectWindows();

// What the entry point hands to the forms runtime.
forms::ProgramDescription Program();

}  // namespace sonbrel
