// The three shapes of the main window: normal mode, normal mode with the playlist panel open,
// and the always-on-top mini bar. No mode variable: the visible switches and the height tell it.
#include <initializer_list>

#include "mainwindow/Form1.h"
#include "mainwindow/Module1.h"
#include "program/application.h"

namespace sonbrel {

namespace {


constexpr float kMiniHeightCut = 2040;        // twips off the closed-panel height
constexpr float kMiniHeightCutOpenPanel = 6240;
constexpr float kOpenPanelAbove = 6000;        // 6615 with the panel open, 2415 closed
constexpr float kMiniWidthCut = 1080;
constexpr float kPanelHeight = 4200;
constexpr float kMiniPageUp = 1940;
constexpr float kMiniPageRight = 350;

constexpr int kPlayerPartEnd = 279;  // the player part ends at H - 279,
constexpr int kPanelPartTop = 280;   // the panel part starts at H - 280: they share a row

void SetTopMostBand(HWND window, int16_t onTop) { Module1::SetTopMost(window, onTop); }

}  // namespace

void Form1::ConnectModeSwitches() {
  Picture11.Click = [this] { Picture11_Click(); };
  Picture12.Click = [this] { Picture12_Click(); };
  Picture2.Click = [this] { Picture2_Click(); };
  Picture1.Click = [this] { Picture1_Click(); };
  Picture21.Click = [this] { Picture21_Click(); };
}

void Form1::Picture11_Click() {
  SetTopMostBand(hWnd(), True);
  if (Height() > kOpenPanelAbove) {
    Height(Height() - kMiniHeightCutOpenPanel);
    Picture1.Visible(false);
    Picture2.Visible(true);
  } else {
    Height(Height() - kMiniHeightCut);
  }
  Width(Width() - kMiniWidthCut);
  CutToSquareRectangle();
  html.Top(html.Top() - kMiniPageUp);
  html.Left(html.Left() + kMiniPageRight);
  ShowModeFace(true);
}

void Form1::Picture12_Click() {
  SetTopMostBand(hWnd(), False);
  Height(Height() + kMiniHeightCut);
  Width(Width() + kMiniWidthCut);
  CutToRoundedRectangle();
  html.Top(html.Top() + kMiniPageUp);
  html.Left(html.Left() - kMiniPageRight);
  ShowModeFace(false);
}

void Form1::Picture2_Click() {
  Height(Height() + kPanelHeight);
  const int w = forms::TwipsToPixelsX(Width());
  const int h = forms::TwipsToPixelsY(Height());
  JoinedRgn.Reset(::CreateRectRgn(0, 0, 0, 0));
  WindowRgn.Reset(::CreateRoundRectRgn(0, 0, w + 1, h - kPlayerPartEnd, kCornerEllipse, kCornerEllipse));
  LowerRgn.Reset(::CreateRoundRectRgn(0, h - kPanelPartTop, w + 1, h, kCornerEllipse, kCornerEllipse));
  ::CombineRgn(JoinedRgn.Get(), WindowRgn.Get(), LowerRgn.Get(), RGN_OR);
  forms::GiveRegionToWindow(hWnd(), JoinedRgn);
  // The parts are not used again once joined.
  WindowRgn.Reset();
  LowerRgn.Reset();
  Picture1.Visible(true);
  Picture2.Visible(false);
}

void Form1::Picture1_Click() { ClosePlaylistPanel(); }
void Form1::Picture21_Click() { ClosePlaylistPanel(); }

void Form1::ClosePlaylistPanel() {
  Height(Height() - kPanelHeight);
  CutToRoundedRectangle();
  Picture2.Visible(true);
  Picture1.Visible(false);
}

void Form1::CutToSquareRectangle() {
  const int w = forms::TwipsToPixelsX(Width());
  const int h = forms::TwipsToPixelsY(Height());
  WindowRgn.Reset(::CreateRoundRectRgn(0, 0, w + 1, h + 1, 0, 0));
  forms::GiveRegionToWindow(hWnd(), WindowRgn);
}

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
