// The entry point hands the program to the forms runtime, which loads the splash first.
#include <windows.h>

#include "forms/forms.h"
#include "startup/application.h"
#include "startup/title.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return forms::Run({sonbrel::kApplicationTitle,
                     []() -> forms::Form& { return forms::Forms::Get<sonbrel::title>(); }});
}
