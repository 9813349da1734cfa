// The main window: a borderless skin of pictures over the browser control that shows the
// station page. Members are defined one file per concern: Form1_layout.cpp (the layout table),
// Form1_buttons.cpp (the button table and the buttons' looks), Form1_lifecycle.cpp (load,
// unload, refresh), Form1_fade.cpp (the fade timer), Form1_drag.cpp (dragging by the skin),
// Form1_modes.cpp (normal mode, playlist panel, mini mode), Form1_tray.cpp (the notification-area
// icon), Form1_exit.cpp (the exit confirmation).
//
// The controls, by the names the layout gives them:
//   title strip (normal mode)  Picture3 left end with the brand, Picture5 middle, Picture4 right
//                              end; all three drag the window
//   title buttons              Picture10 minimize, Picture11 mini mode, Picture13 exit
//   lower part                 Picture6 left edge (its double click shows Command1, the hidden
//                              refresh button), Picture7 right edge, Picture9 the logo (about)
//   playlist tab               Picture2 opens the panel, Picture1 (same place) closes it
//   panel strip                Picture8, the panel's title strip (drags); Picture21 closes
//   mini bar                   Picture14 left end (drags), Picture15 right end, Picture16 and
//                              Picture17 top and bottom lines; buttons Picture20 about,
//                              Picture18 exit, Picture19 minimize, Picture12 back to normal mode
//   html                       the browser control with the station page, behind everything
//   Timer1                     the fade timer
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "forms/forms.h"
#include "mainwindow/drag_start.h"
#include "mainwindow/notification_icon.h"
#include "mainwindow/window_outline.h"
#include "shared/fade_engine.h"

namespace sonbrel {

// The buttons whose looks go back to normal together when the pointer moves on.
enum class ButtonGroup { None, TitleStrip, MiniBar, Panel };

class Form1 : public forms::Form {
 public:
  Form1();

  // A clickable picture of the skin. One row per button (Form1_buttons.cpp); the looks, the
  // tooltips and the wiring all read the table.
  struct SkinButton {
    forms::PictureBox Form1::*control;
    int looks;  // the normal look's bitmap, hover and pressed the next two; 0: one picture only
    ButtonGroup group;
    const wchar_t* toolTip;
    void (Form1::*click)();
  };
  static std::span<const SkinButton> SkinButtons();

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
  // Connected by the program: what the about pictures open.
  forms::Event ShowAbout;

  void Command1_Click();
  void Picture6_DblClick();
  void Timer1_Timer();

  // The buttons' actions, named after the control clicked.
  void Picture11_Click();  // to mini mode
  void Picture12_Click();  // back to normal mode
  void Picture2_Click();   // open the playlist panel
  void Picture1_Click();   // close it
  void Picture21_Click();  // close it
  void Picture10_Click();  // hide to the notification area
  void Picture19_Click();  // hide to the notification area
  void Picture13_Click();  // exit, if the user confirms
  void Picture18_Click();  // exit, if the user confirms
  void Picture9_Click();   // the about window
  void Picture20_Click();  // the about window

  // A skin button's looks: pressed under a left press, normal at its release, hover under the
  // pointer while the others of its group go back to normal.
  void SkinButton_MouseDown(const SkinButton& button, int16_t Button);
  void SkinButton_MouseUp(const SkinButton& button, int16_t Button);
  void SkinButton_MouseMove(const SkinButton& button);

  // The drag areas: a left press starts a drag, a move with the left button alone carries the
  // window; a move over an area sets the buttons around it back to normal.
  void DragArea_MouseDown(int16_t Button, float X, float Y);
  void DragArea_MouseMove(ButtonGroup resets, int16_t Button, float X, float Y);

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
  void ConnectSkinButtons();
  void ConnectDragAreas();
  void ShowLook(const SkinButton& button, int look);
  void ResetLooks(ButtonGroup group);
  void FadeOutFinished();
  SIZE PixelSize() const;

  void ClosePlaylistPanel();
  void ShowModeFace(bool mini);
  void ConfirmExit();

  // FadeAlpha and FadeStep live in the engine; the end action sets FadeDone and ends the process.
  FadeEngine Fade{*this, Timer1, [this] { FadeOutFinished(); }};
  int16_t FadeDone = 0;
  WindowOutline Outline;
  DragStart Drag;
  NotificationIcon TrayIcon{*this};
};

}  // namespace sonbrel
