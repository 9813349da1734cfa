#include "app/program.h"

#include "about/Form2.h"
#include "mainwindow/Form1.h"
#include "shared/application.h"
#include "startup/title.h"

namespace sonbrel {

void ConnectWindows() {
  forms::Forms::Get<title>().HandOver = [] {
    Form1& main = forms::Forms::Get<Form1>();
    main.Loading = [] { forms::Forms::Get<title>().Visible(false); };
    // The one about window, modeless and without an owner; a second click brings it to the front.
    main.ShowAbout = [] { forms::Forms::Get<Form2>().Show(); };
    main.Show();
  };
}

forms::ProgramDescription Program() {
  return {kApplicationTitle, []() -> forms::Form& {
            ConnectWindows();
            return forms::Forms::Get<title>();
          }};
}

}  // namespace sonbrel
