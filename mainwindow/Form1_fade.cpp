// The main window's fade timer; the end of its fade-out is the end of the process.
#include "mainwindow/Form1.h"

namespace sonbrel {

void Form1::Timer1_Timer() { Fade.Tick(); }

void Form1::FadeOutFinished() {
  FadeDone = -1;
  forms::End();
}

}  // namespace sonbrel
