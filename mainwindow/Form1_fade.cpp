// The main window's fade timer; the end of its fade-out is the end of the process.
#include "mainwindow/Form1.h"
#include "shared/application.h"

namespace sonbrel {

void Form1::Timer1_Timer() { Fade.Tick(); }

void Form1::FadeOutFinished() {
  FadeDone = True;
  forms::End();
}

}  // namespace sonbrel
