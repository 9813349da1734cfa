// Both exit buttons ask first; a confirmed exit unloads the window, which fades out.
#include "mainwindow/Form1.h"

namespace sonbrel {

void Form1::Picture13_Click() { ConfirmExit(); }
void Form1::Picture18_Click() { ConfirmExit(); }

void Form1::ConfirmExit() {
  if (forms::MsgBox(L"真的要退出吗？", MB_YESNO) == IDNO) return;
  Unload();
}

}  // namespace sonbrel
