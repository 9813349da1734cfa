// The two about pictures: the logo in normal mode and the "!" of the mini bar. The program
// connects what they open.
#include "mainwindow/Form1.h"

namespace sonbrel {

void Form1::Picture9_Click() {
  if (ShowAbout) ShowAbout();
}

void Form1::Picture20_Click() {
  if (ShowAbout) ShowAbout();
}

}  // namespace sonbrel
