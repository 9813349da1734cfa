// The main window: a borderless skin of pictures over the browser control that shows the
// station page. Members are defined one file per concern: Form1_layout.cpp (the layout table),
// Form1_lifecycle.cpp (load, unload, refresh), Form1_fade.cpp (the fade timer),
// Form1_buttons.cpp (the looks of the skin buttons), Form1_drag.cpp (dragging by the skin),
// Form1_modes.cpp (normal mode, playlist panel, mini mode), Form1_about.cpp (the about pictures),
// Form1_tray.cpp (the notification-area icon), Form1_exit.cpp (the exit confirmation).
#pragma once

#include <cstdint>
#include <string>

#include "forms/forms.h"
#include "program/fade_engine.h"
#include "mainwindow/tray_icon_record.h"

namespace sonbrel {

// http:// + the build's web host + the page's path.
std::wstring StationPageAddress();

// A press position in twips as a drag start: nearest whole twip, halves to even, held to the
// 16 bits the start point has (a captured press can lie far outside the area).
int16_t DragStartFrom(float twips);

class Form1 : public forms::Form {
 public:
  Form1();

  // Controls, front to back.
  forms::CommandButton Command1{*this};
  forms::Timer Timer1{*this};
  forms::PictureBox Picture21{*this};
  forms::PictureBox Picture20{*this};
  forms::PictureBox Picture18{*this};
  forms::PictureBox Picture17{*this};
  forms::PictureBox Picture12{*this};
  forms::PictureBox Picture13{*this};
  forms::PictureBox Picture11{*this};
  forms::PictureBox Picture8{*this};
  forms::PictureBox Picture7{*this};
  forms::PictureBox Picture6{*this};
  forms::PictureBox Picture2{*this};
  forms::PictureBox Picture1{*this};
  forms::PictureBox Picture9{*this};
  forms::PictureBox Picture10{*this};
  forms::PictureBox Picture16{*this};
  forms::PictureBox Picture14{*this};
  forms::PictureBox Picture3{*this};
  forms::PictureBox Picture19{*this};
  forms::PictureBox Picture15{*this};
  forms::PictureBox Picture5{*this};
  forms::PictureBox Picture4{*this};
  forms::WebBrowser html{*this};

  // Connected by the program: the first act of loading, which hides the splash.
  forms::Event Loading;

  // FadeAlpha and FadeStep live in the engine; the end action sets FadeDone and ends the process.
  FadeEngine Fade{*this, Timer1, [this] { FadeOutFinished(); }};
  int16_t FadeDone = 0;

  // The outline's parts. Each holds its region only until it is given to the window, which then
  // owns it; what is still held is deleted once, when overwritten or at unload.
  forms::UniqueRegion WindowRgn;
  forms::UniqueRegion LowerRgn;
  forms::UniqueRegion JoinedRgn;

  // Where the last left press on a drag area was, in twips from that area's top left.
  int16_t DragStartX = 0;
  int16_t DragStartY = 0;
  // Filled at each hide to the notification area; the delete passes it unchanged.
  TrayIconRecord TrayIconData{};

  void Command1_Click();
  void Picture6_DblClick();
  void Picture9_Click();
  void Picture20_Click();
  void Timer1_Timer();

  using MouseHandler = void(int16_t Button, int16_t Shift, float X, float Y);
  // The skin buttons' looks.
  MouseHandler Picture10_MouseDown, Picture10_MouseUp, Picture10_MouseMove;
  MouseHandler Picture11_MouseDown, Picture11_MouseUp, Picture11_MouseMove;
  MouseHandler Picture13_MouseDown, Picture13_MouseUp, Picture13_MouseMove;
  MouseHandler Picture12_MouseDown, Picture12_MouseUp, Picture12_MouseMove;
  MouseHandler Picture18_MouseDown, Picture18_MouseUp, Picture18_MouseMove;
  MouseHandler Picture19_MouseDown, Picture19_MouseUp, Picture19_MouseMove;
  MouseHandler Picture20_MouseDown, Picture20_MouseUp, Picture20_MouseMove;
  MouseHandler Picture21_MouseDown, Picture21_MouseUp, Picture21_MouseMove;
  // The drag areas; the moves over Picture4, Picture8 and Picture14 reset looks first.
  MouseHandler Picture3_MouseDown, Picture4_MouseDown, Picture5_MouseDown, Picture8_MouseDown,
      Picture14_MouseDown;
  MouseHandler Picture3_MouseMove, Picture4_MouseMove, Picture5_MouseMove, Picture8_MouseMove,
      Picture14_MouseMove;
  void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) override;
  void Picture11_Click();  // to mini mode
  void Picture12_Click();  // back to normal mode
  void Picture2_Click();   // open the playlist panel
  void Picture1_Click();   // close it
  void Picture21_Click();  // close it
  void Picture10_Click();  // hide to the notification area
  void Picture19_Click();  // hide to the notification area
  void Picture13_Click();  // exit, if the user confirms
  void Picture18_Click();  // exit, if the user confirms

  // The icon's mouse messages arrive as mouse moves with the message in x; a left double click
  // brings the window back.
  void NotificationIcon_MouseMove(float X);

 protected:
  void Form_Load() override;
  void Form_Unload(int16_t& Cancel) override;
  void Form_RegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PlaceControls();
  void ConnectHandlers();
  void ConnectButtonLooks();
  void ConnectDragAreas();
  forms::MouseEvent Handler(MouseHandler Form1::*handler);
  void DragBy(int16_t Button, float X, float Y);
  void ConnectAboutHandlers();
  // Width and height of the corner ellipses of the normal-mode outlines, in pixels.
  static constexpr int kCornerEllipse = 11;
  void CutToRoundedRectangle();
  void ReleaseHeldRegions();
  void FadeOutFinished();

  void ConnectModeSwitches();
  void ConnectTrayButtons();
  void ConnectExitButtons();
  void CutToSquareRectangle();
  void ClosePlaylistPanel();
  void ShowModeFace(bool mini);
  void HideToNotificationArea();
  void ConfirmExit();
};

}  // namespace sonbrel
