// Loading and unloading the main window, and the hidden refresh button.
#include "mainwindow/Form1.h"
#include "mainwindow/Module1.h"
#include "startup/title.h"
#include "version.h"

namespace sonbrel {

namespace {
constexpr int16_t True = -1;
constexpr int kCornerEllipse = 11;
}  // namespace

std::wstring StationPageAddress() {
  return std::wstring(L"http://") + SONBREL_WEB_HOST_W + L"/sonbrel/index3.htm";
}

void GiveRegionToWindow(HWND window, forms::UniqueRegion& region) {
  ::SetWindowRgn(window, region.Release(), TRUE);
}

void Form1::Form_Load() {
  forms::Forms::Get<title>().Visible(false);
  Module1::MainHwnd = hWnd();
  Module1::HookWindow();
  html.Navigate(StationPageAddress());
  CutToRoundedRectangle();
  FadeDone = 0;
  Fade.Arm(5);
  // Fade in from transparent, as the splash does, so an early exit fades from what is seen.
  FadeEngine::SetLayered(hWnd(), true);
  FadeEngine::ApplyAlpha(hWnd(), 0);
}

void Form1::CutToRoundedRectangle() {
  const int w = forms::TwipsToPixelsX(Width());
  const int h = forms::TwipsToPixelsY(Height());
  WindowRgn.Reset(::CreateRoundRectRgn(0, 0, w + 1, h + 1, kCornerEllipse, kCornerEllipse));
  GiveRegionToWindow(hWnd(), WindowRgn);
}

void Form1::Form_Unload(int16_t& Cancel) {
  Module1::UnhookWindow();
  ReleaseHeldRegions();
  if (FadeDone == 0) {
    // A copy started from now on runs normally instead of activating a window about to vanish.
    forms::App().GiveUpInstanceClaim();
    Fade.BeginFadeOut();
    Cancel = True;
  }
}

void Form1::ReleaseHeldRegions() {
  JoinedRgn.Reset();
  WindowRgn.Reset();
  LowerRgn.Reset();
}

void Form1::Command1_Click() { html.Refresh(); }

void Form1::Picture6_DblClick() { Command1.Visible(!Command1.Visible()); }

}  // namespace sonbrel
