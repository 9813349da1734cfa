#include "startup/title.h"

#include "shared/application.h"
#include "resources/resource_ids.h"

namespace sonbrel {

namespace {

constexpr unsigned kCloseAfterMs = 3000;

forms::FormLayout SplashLayout() {
  return {.caption = L"Form3",
          .border = forms::BorderStyle::None,
          .clientWidth = 4185,
          .clientHeight = 4185,
          .startUpPosition = forms::StartUpPosition::CenterScreen,
          .showInTaskbar = false,
          // Shows in the thin ring the picture leaves transparent inside the outline.
          .backColor = RGB(88, 40, 128)};
}

}  // namespace

title::title() : forms::Form(SplashLayout()) {
  Stack({&OLE1, &Image1});
  Timer2.Interval(kCloseAfterMs);
  Timer1.Interval(1);
  OLE1.Move(120, 120, 495, 495);
  OLE1.WaveResource(IDW_SPLASH_SOUND);
  Image1.Move(0, 0, 4185, 4185);
  Image1.Picture(forms::Picture::FromGifResource(IDG_SPLASH));

  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.Tick = [this] { Timer2_Timer(); };
  Image1.Click = [this] { Image1_Click(); };
}

void title::CheckExist(forms::Form& fm) {
  if (!forms::App().PrevInstance()) return;
  const std::wstring savedTitle = forms::App().Title();
  // Our own windows must not carry the title when we look for the running copy's.
  forms::App().Title(L"");
  fm.Caption(L"");
  forms::AppActivate(savedTitle);
  forms::End();
}

void title::Form_Load() {
  CheckExist(*this);
  PrepareDrawingSurface();
  OLE1.Action(forms::vbOLEActivate);
  CutToEllipse();
  Fade.BeginFadeIn();
}

void title::PrepareDrawingSurface() {
  AutoRedraw(true);
  // A 0 x 0 compatible bitmap is the stock 1 x 1 one: selected for good, nothing to release.
  ::SelectObject(hDC(), ::CreateCompatibleBitmap(hDC(), 0, 0));
}

void title::CutToEllipse() {
  const int w = forms::TwipsToPixelsX(Width());
  const int h = forms::TwipsToPixelsY(Height());
  // The ellipse hugs the rim of the disc painted in the picture, which sits 8 px in from the
  // left, 6 from the right and 7 from the top and the bottom.
  forms::UniqueRegion ellipse{::CreateEllipticRgn(8, 7, w - 6, h - 7)};
  forms::GiveRegionToWindow(hWnd(), ellipse);
}

void title::Timer2_Timer() {
  Unload();
  Timer2.Enabled(false);
}

void title::Image1_Click() { Unload(); }

void title::Form_Unload(int16_t& Cancel) {
  Cancel = True;
  // Once handed over the splash is done: a late request (the one-shot Timer2) must not show the
  // main window again, perhaps out of the notification area.
  if (Fade.FadedOut()) return;
  Fade.BeginFadeOut();
}


}  // namespace sonbrel
