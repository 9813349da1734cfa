// The two about pictures: the logo in normal mode and the "!" of the mini bar.
#include "about/Form2.h"
#include "mainwindow/Form1.h"

namespace sonbrel {

// The one about window, modeless and without an owner; a second click brings it to the front.
void Form1::Picture9_Click() { forms::Forms::Get<Form2>().Show(); }

void Form1::Picture20_Click() { forms::Forms::Get<Form2>().Show(); }

void Form1::ConnectAboutHandlers() {
  Picture9.Click = [this] { Picture9_Click(); };
  Picture20.Click = [this] { Picture20_Click(); };
}

}  // namespace sonbrel
