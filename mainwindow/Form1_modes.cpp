// The three shapes of the main window: normal mode, normal mode with the playlist panel open,
// and the always-on-top mini bar. No mode variable: the visible switches and the height tell it.
#include <initializer_list>

#include "mainwindow/Form1.h"
#include "mainwindow/Module1.h"
#include "shared/application.h"

namespace sonbrel {

namespace {

constexpr float kMiniHeightCut = 2040;        // twips off the closed-panel height
constexpr float kMiniHeightCutOpenPanel = 6240;
constexpr float kOpenPanelAbove = 6000;        // 6615 with the panel open, 2415 closed
constexpr float kMiniWidthCut = 1080;
constexpr float kPanelHeight = 4200;
constexpr float kMiniPageUp = 1940;
constexpr float kMiniPageRight = 350;

void SetTopMostBand(HWND window, int16_t onTop) { Module1::SetTopMost(window, onTop); }

}  // namespace

void Form1::Picture11_Click() {
  const RedrawHold oneStep(*this);  // the new face shows whole, in one paint
  SetTopMostBand(hWnd(), True);
  if (Height() > kOpenPanelAbove) {
    Height(Height() - kMiniHeightCutOpenPanel);
    Picture1.Visible(false);
    Picture2.Visible(true);
  } else {
    Height(Height() - kMiniHeightCut);
  }
  Width(Width() - kMiniWidthCut);
  Outline.Square(hWnd(), PixelSize());
  html.Top(html.Top() - kMiniPageUp);
  html.Left(html.Left() + kMiniPageRight);
  ShowModeFace(true);
}

void Form1::Picture12_Click() {
  const RedrawHold oneStep(*this);  // the new face shows whole, in one paint
  SetTopMostBand(hWnd(), False);
  Height(Height() + kMiniHeightCut);
  Width(Width() + kMiniWidthCut);
  Outline.Round(hWnd(), PixelSize());
  html.Top(html.Top() + kMiniPageUp);
  html.Left(html.Left() - kMiniPageRight);
  ShowModeFace(false);
}

void Form1::Picture2_Click() {
  const RedrawHold oneStep(*this);  // the new face shows whole, in one paint
  Height(Height() + kPanelHeight);
  Outline.RoundWithPanel(hWnd(), PixelSize());
  Picture1.Visible(true);
  Picture2.Visible(false);
}

void Form1::Picture1_Click() { ClosePlaylistPanel(); }
void Form1::Picture21_Click() { ClosePlaylistPanel(); }

void Form1::ClosePlaylistPanel() {
  const RedrawHold oneStep(*this);  // the new face shows whole, in one paint
  Height(Height() - kPanelHeight);
  Outline.Round(hWnd(), PixelSize());
  Picture2.Visible(true);
  Picture1.Visible(false);
}

SIZE Form1::PixelSize() const { return {forms::TwipsToPixelsX(Width()), forms::TwipsToPixelsY(Height())}; }

void Form1::ShowModeFace(bool mini) {
  (mini ? Picture11 : Picture12).Visible(false);
  (mini ? Picture12 : Picture11).Visible(true);
  for (forms::PictureBox* normalOnly : {&Picture3, &Picture4, &Picture5}) normalOnly->Visible(!mini);
  for (forms::PictureBox* miniOnly :
       {&Picture14, &Picture15, &Picture16, &Picture17, &Picture18, &Picture19, &Picture20}) {
    miniOnly->Visible(mini);
  }
}

}  // namespace sonbrel
