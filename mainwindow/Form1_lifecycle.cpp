// Loading and unloading the main window, and the hidden refresh button.
#include "mainwindow/Form1.h"
#include "mainwindow/Module1.h"
#include "shared/application.h"
#include "shared/web_host.h"

namespace sonbrel {


void Form1::Form_Load() {
  if (Loading) Loading();
  Module1::MainHwnd = hWnd();
  Module1::HookWindow();
  html.Navigate(WebAddress(L"/sonbrel/index3.htm"));
  Outline.Round(hWnd(), PixelSize());
  FadeDone = 0;
  // Fade in from transparent, as the splash does, so an early exit fades from what is seen.
  Fade.BeginFadeIn();
}

void Form1::Form_Unload(int16_t& Cancel) {
  Module1::UnhookWindow();
  Outline.LetGo();
  if (FadeDone == 0) {
    // A copy started from now on runs normally instead of activating a window about to vanish.
    forms::App().GiveUpInstanceClaim();
    Fade.BeginFadeOut();
    Cancel = True;
  }
}

void Form1::Command1_Click() { html.Refresh(); }

void Form1::Picture6_DblClick() { Command1.Visible(!Command1.Visible()); }

}  // namespace sonbrel
