// A form with one control of each kind, recording every event it sees as a line of text.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "forms/app.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "test_resources.h"

namespace forms_windows_test {

using Events = std::vector<std::string>;

// Client 200 x 100 px at (100, 100); the pixel places of the controls are in the comments.
inline forms::FormLayout TestLayout() {
  forms::FormLayout layout;
  layout.caption = L"forms test";
  layout.clientWidth = 3000;
  layout.clientHeight = 1500;
  layout.left = 1500;
  layout.top = 1500;
  layout.iconResourceId = IDI_DISC;
  return layout;
}

class TestForm : public forms::Form {
 public:
  using Form::Stack;

  TestForm() : Form(TestLayout()) {
    Box.Move(150, 150, 300, 300);      // (10, 10) 20 x 20
    Front.Move(600, 150, 300, 300);    // (40, 10) 20 x 20
    Back.Move(750, 150, 300, 300);     // (50, 10) 20 x 20, under Front from x 50 to 59
    Rule.Points(0, 750, 3000, 750);    // across the label, in front of it
    Link.Move(150, 600, 900, 300);     // (10, 40) 60 x 20
    Box2.Move(1500, 150, 300, 300);    // (100, 10)
    Button.Move(1500, 600, 600, 375);  // (100, 40)
    Text.Move(2250, 600, 600, 600);    // (150, 40)
    Stack({&Box, &Front, &Back, &Rule, &Link, &Box2, &Button, &Text});
    Record(Box, "Box");
    Record(Front, "Front");
    Record(Back, "Back");
    Record(Link, "Link");
    Timer1.Tick = [this] { ++ticks; };
  }

  forms::PictureBox Box{*this};
  forms::Image Front{*this};
  forms::Image Back{*this};
  forms::Line Rule{*this};
  forms::Label Link{*this};
  forms::PictureBox Box2{*this};
  forms::CommandButton Button{*this};
  forms::TextBox Text{*this};
  forms::Timer Timer1{*this};

  Events events;
  int loads = 0, unloads = 0, ticks = 0;
  int16_t cancel = 0;

 protected:
  void Form_Load() override { ++loads; }
  void Form_Unload(int16_t& Cancel) override {
    ++unloads;
    Unload();  // a second request while unloading must be ignored
    Cancel = cancel;
  }
  void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) override {
    events.push_back(Entry("Form.MouseMove", Button, Shift, X, Y));
  }

 private:
  static std::string Entry(const std::string& what, int16_t button, int16_t shift, float x, float y) {
    char text[96];
    std::snprintf(text, sizeof text, " %d %d %g %g", button, shift, x, y);
    return what + text;
  }

  void Record(forms::Control& control, const std::string& name) {
    for (auto [handler, what] : {std::pair{&control.MouseDown, ".MouseDown"}, {&control.MouseUp, ".MouseUp"},
                                 {&control.MouseMove, ".MouseMove"}}) {
      *handler = [this, what = name + what](int16_t button, int16_t shift, float x, float y) {
        events.push_back(Entry(what, button, shift, x, y));
      };
    }
    control.Click = [this, name] { events.push_back(name + ".Click"); };
    control.DblClick = [this, name] { events.push_back(name + ".DblClick"); };
  }
};

// A step that is no message: another window takes the mouse away.
constexpr UINT kLoseCapture = WM_NULL;

struct Step {
  UINT message;
  WPARAM keys;
  int x, y;
};

class LoadedForm : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every expected value is written for 96 dpi.
    ASSERT_EQ(forms::Screen::TwipsPerPixelX(), 15.0f);
    form.Show();
  }
  void TearDown() override { ::ReleaseCapture(); }

  void Send(HWND window, const Step& step) {
    ::SendMessageW(window, step.message, step.keys,
                   MAKELPARAM(static_cast<WORD>(step.x), static_cast<WORD>(step.y)));
  }
  // The events a fresh sequence of messages to `window` raises.
  Events Play(HWND window, const std::vector<Step>& steps) {
    form.events.clear();
    for (const Step& step : steps) {
      if (step.message == kLoseCapture) {
        ::ReleaseCapture();
      } else {
        Send(window, step);
      }
    }
    ::ReleaseCapture();
    return form.events;
  }

  TestForm form;
};

}  // namespace forms_windows_test
