// The looks of the skin buttons: pressed under a left press, normal at its release, hover under
// the pointer; a move over one button (or over the area around a group) sets the others of its
// group back to normal, so no hover look lingers when the pointer passes from one to the next.
#include <span>

#include "mainwindow/Form1.h"
#include "resources/resource_ids.h"

namespace sonbrel {

namespace {

using Box = forms::PictureBox Form1::*;

// A button and the first of its three looks: normal, then hover, then pressed.
struct Button {
  Box box;
  int normal;
};

constexpr int kNormal = 0;
constexpr int kHover = 1;
constexpr int kPressed = 2;

// Each group in the order its looks are set back to normal.
const Button kTitleButtons[] = {{&Form1::Picture10, IDB_MINIMIZE_NORMAL},
                                {&Form1::Picture11, IDB_MINIMODE_NORMAL},
                                {&Form1::Picture13, IDB_CLOSE_NORMAL}};
const Button kMiniButtons[] = {{&Form1::Picture12, IDB_MINI_NORMALMODE_NORMAL},
                               {&Form1::Picture18, IDB_MINI_EXIT_NORMAL},
                               {&Form1::Picture19, IDB_MINI_MINIMIZE_NORMAL},
                               {&Form1::Picture20, IDB_MINI_ABOUT_NORMAL}};
const Button kPanelButtons[] = {{&Form1::Picture21, IDB_CLOSE_NORMAL}};

void ShowLook(Form1& form, const Button& button, int look) {
  (form.*button.box).Picture(forms::LoadResPicture(button.normal + look, forms::vbResBitmap));
}

void ResetLooks(Form1& form, std::span<const Button> group) {
  for (const Button& button : group) ShowLook(form, button, kNormal);
}

void Press(Form1& form, const Button& button, int16_t mouseButton) {
  if (mouseButton == forms::vbLeftButton) ShowLook(form, button, kPressed);
}

void Release(Form1& form, const Button& button, int16_t mouseButton) {
  if (mouseButton == forms::vbLeftButton) ShowLook(form, button, kNormal);
}

// Whatever buttons are held: a pressed look turns into hover on the first move.
void Hover(Form1& form, std::span<const Button> group, const Button& button) {
  ShowLook(form, button, kHover);
  for (const Button& other : group) {
    if (other.box != button.box) ShowLook(form, other, kNormal);
  }
}

}  // namespace

void Form1::Picture10_MouseDown(int16_t Button, int16_t, float, float) { Press(*this, kTitleButtons[0], Button); }
void Form1::Picture10_MouseUp(int16_t Button, int16_t, float, float) { Release(*this, kTitleButtons[0], Button); }
void Form1::Picture10_MouseMove(int16_t, int16_t, float, float) { Hover(*this, kTitleButtons, kTitleButtons[0]); }

void Form1::Picture11_MouseDown(int16_t Button, int16_t, float, float) { Press(*this, kTitleButtons[1], Button); }
void Form1::Picture11_MouseUp(int16_t Button, int16_t, float, float) { Release(*this, kTitleButtons[1], Button); }
void Form1::Picture11_MouseMove(int16_t, int16_t, float, float) { Hover(*this, kTitleButtons, kTitleButtons[1]); }

void Form1::Picture13_MouseDown(int16_t Button, int16_t, float, float) { Press(*this, kTitleButtons[2], Button); }
void Form1::Picture13_MouseUp(int16_t Button, int16_t, float, float) { Release(*this, kTitleButtons[2], Button); }
void Form1::Picture13_MouseMove(int16_t, int16_t, float, float) { Hover(*this, kTitleButtons, kTitleButtons[2]); }

void Form1::Picture12_MouseDown(int16_t Button, int16_t, float, float) { Press(*this, kMiniButtons[0], Button); }
void Form1::Picture12_MouseUp(int16_t Button, int16_t, float, float) { Release(*this, kMiniButtons[0], Button); }
void Form1::Picture12_MouseMove(int16_t, int16_t, float, float) { Hover(*this, kMiniButtons, kMiniButtons[0]); }

void Form1::Picture18_MouseDown(int16_t Button, int16_t, float, float) { Press(*this, kMiniButtons[1], Button); }
void Form1::Picture18_MouseUp(int16_t Button, int16_t, float, float) { Release(*this, kMiniButtons[1], Button); }
void Form1::Picture18_MouseMove(int16_t, int16_t, float, float) { Hover(*this, kMiniButtons, kMiniButtons[1]); }

void Form1::Picture19_MouseDown(int16_t Button, int16_t, float, float) { Press(*this, kMiniButtons[2], Button); }
void Form1::Picture19_MouseUp(int16_t Button, int16_t, float, float) { Release(*this, kMiniButtons[2], Button); }
void Form1::Picture19_MouseMove(int16_t, int16_t, float, float) { Hover(*this, kMiniButtons, kMiniButtons[2]); }

void Form1::Picture20_MouseDown(int16_t Button, int16_t, float, float) { Press(*this, kMiniButtons[3], Button); }
void Form1::Picture20_MouseUp(int16_t Button, int16_t, float, float) { Release(*this, kMiniButtons[3], Button); }
void Form1::Picture20_MouseMove(int16_t, int16_t, float, float) { Hover(*this, kMiniButtons, kMiniButtons[3]); }

void Form1::Picture21_MouseDown(int16_t Button, int16_t, float, float) { Press(*this, kPanelButtons[0], Button); }
void Form1::Picture21_MouseUp(int16_t Button, int16_t, float, float) { Release(*this, kPanelButtons[0], Button); }
void Form1::Picture21_MouseMove(int16_t, int16_t, float, float) { Hover(*this, kPanelButtons, kPanelButtons[0]); }

// The bare window surface: the pictures and the page cover it in every mode, so the moves that
// reach it are the notification icon's events; they reset the title buttons all the same.
void Form1::Form_MouseMove(int16_t, int16_t, float X, float) {
  ResetLooks(*this, kTitleButtons);
  NotificationIcon_MouseMove(X);
}

void Form1::Picture4_MouseMove(int16_t Button, int16_t, float X, float Y) {
  ResetLooks(*this, kTitleButtons);
  DragBy(Button, X, Y);
}

void Form1::Picture8_MouseMove(int16_t Button, int16_t, float X, float Y) {
  ResetLooks(*this, kPanelButtons);
  DragBy(Button, X, Y);
}

void Form1::Picture14_MouseMove(int16_t Button, int16_t, float X, float Y) {
  ResetLooks(*this, kMiniButtons);
  DragBy(Button, X, Y);
}

forms::MouseEvent Form1::Handler(MouseHandler Form1::*handler) {
  return [this, handler](int16_t Button, int16_t Shift, float X, float Y) {
    (this->*handler)(Button, Shift, X, Y);
  };
}

void Form1::ConnectButtonLooks() {
  struct Wiring {
    Box box;
    MouseHandler Form1::*down;
    MouseHandler Form1::*up;
    MouseHandler Form1::*move;
  };
  const Wiring wirings[] = {
      {&Form1::Picture10, &Form1::Picture10_MouseDown, &Form1::Picture10_MouseUp, &Form1::Picture10_MouseMove},
      {&Form1::Picture11, &Form1::Picture11_MouseDown, &Form1::Picture11_MouseUp, &Form1::Picture11_MouseMove},
      {&Form1::Picture13, &Form1::Picture13_MouseDown, &Form1::Picture13_MouseUp, &Form1::Picture13_MouseMove},
      {&Form1::Picture12, &Form1::Picture12_MouseDown, &Form1::Picture12_MouseUp, &Form1::Picture12_MouseMove},
      {&Form1::Picture18, &Form1::Picture18_MouseDown, &Form1::Picture18_MouseUp, &Form1::Picture18_MouseMove},
      {&Form1::Picture19, &Form1::Picture19_MouseDown, &Form1::Picture19_MouseUp, &Form1::Picture19_MouseMove},
      {&Form1::Picture20, &Form1::Picture20_MouseDown, &Form1::Picture20_MouseUp, &Form1::Picture20_MouseMove},
      {&Form1::Picture21, &Form1::Picture21_MouseDown, &Form1::Picture21_MouseUp, &Form1::Picture21_MouseMove},
  };
  for (const Wiring& wiring : wirings) {
    forms::PictureBox& box = this->*wiring.box;
    box.MouseDown = Handler(wiring.down);
    box.MouseUp = Handler(wiring.up);
    box.MouseMove = Handler(wiring.move);
  }
}

}  // namespace sonbrel
