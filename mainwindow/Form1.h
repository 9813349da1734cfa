// The main window: a borderless skin of pictures over the browser control that shows the
// station page. Members are defined one file per concern: Form1_layout.cpp (the layout table),
// Form1_lifecycle.cpp (load, unload, refresh), Form1_fade.cpp (the fade timer), Form1_modes.cpp
// (normal mode, playlist panel, mini mode), Form1_tray.cpp (the notification-area icon),
// Form1_exit.cpp (the exit confirmation).
#pragma once

#include <cstdint>
#include <string>

#include "forms/forms.h"
#include "mainwindow/fade_engine.h"
#include "mainwindow/tray_icon_record.h"

namespace sonbrel {

// http:// + the build's web host + the page's path.
std::wstring StationPageAddress();

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

  // FadeAlpha and FadeStep live in the engine; the end action sets FadeDone and ends the process.
  FadeEngine Fade{*this, Timer1, [this] { FadeOutFinished(); }};
  int16_t FadeDone = 0;

  // The outline's parts. Each holds its region only until it is given to the window, which then
  // owns it; what is still held is deleted once, when overwritten or at unload.
  forms::UniqueRegion WindowRgn;
  forms::UniqueRegion LowerRgn;
  forms::UniqueRegion JoinedRgn;

  // Filled at each hide to the notification area; the delete passes it unchanged.
  TrayIconRecord TrayIconData{};

  void Command1_Click();
  void Picture6_DblClick();
  void Timer1_Timer();

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
  void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) override;
  void Form_RegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PlaceControls();
  void ConnectHandlers();
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

// Gives the region to the window, which owns it from then on.
void GiveRegionToWindow(HWND window, forms::UniqueRegion& region);

}  // namespace sonbrel
