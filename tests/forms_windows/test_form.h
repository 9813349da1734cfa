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
  layout.backColor = RGB(0, 0, 128);
  return layout;
}

class TestForm : public forms::Form {
 public:
  explicit TestForm(forms::FormLayout layout = TestLayout()) : Form(std::move(layout)) {
    Box.Move(150, 150, 300, 300);      // (10, 10) 20 x 20
    Front.Move(600, 150, 300, 300);    // (40, 10) 20 x 20
    Back.Move(750, 150, 300, 300);     // (50, 10) 20 x 20, under Front from x 50 to 59
    Rule.Points(0, 750, 3000, 750);    // across the label, in front of it
    Link.Move(150, 600, 900, 300);     // (10, 40) 60 x 20
    Box2.Move(1500, 150, 300, 300);    // (100, 10)
    Button.Move(1500, 600, 600, 375);  // (100, 40)
    Text.Move(2250, 600, 600, 600);    // (150, 40)
    Stack({&Box, &Front, &Back, &Rule, &Link, &Box2, &Button, &Text});
    for (auto [control, name] : {std::pair<forms::Control*, const char*>{&Box, "Box"},
                                 {&Front, "Front"}, {&Back, "Back"}, {&Link, "Link"},
                                 {&Box2, "Box2"}, {&Button, "Button"}}) {
      Record(*control, name);
    }
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
  int loads = 0;
  int unloads = 0;
  int ticks = 0;
  int16_t cancel = 0;
  bool unloadAgainWhileUnloading = false;

 protected:
  void Form_Load() override { ++loads; }
  void Form_Unload(int16_t& Cancel) override {
    ++unloads;
    if (unloadAgainWhileUnloading) Unload();
    Cancel = cancel;
  }
  void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) override {
    events.push_back(Entry("Form.MouseMove", Button, Shift, X, Y));
  }

 private:
  static std::string Entry(const std::string& what, int16_t button, int16_t shift, float x,
                          float y) {
    char text[96];
    std::snprintf(text, sizeof text, " %d %d %g %g", button, shift, x, y);
    return what + text;
  }

  void Record(forms::Control& control, const std::string& name) {
    const auto mouse = [this](std::string what) {
      return [this, what](int16_t button, int16_t shift, float x, float y) {
        events.push_back(Entry(what, button, shift, x, y));
      };
    };
    control.MouseDown = mouse(name + ".MouseDown");
    control.MouseUp = mouse(name + ".MouseUp");
    control.MouseMove = mouse(name + ".MouseMove");
    control.Click = [this, name] { events.push_back(name + ".Click"); };
    control.DblClick = [this, name] { events.push_back(name + ".DblClick"); };
  }
};

inline LPARAM At(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)),
                    static_cast<WORD>(static_cast<int16_t>(y)));
}

// Dispatches this thread's messages until `done` holds or the time is up; never spins.
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return true;
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// The child's rectangle in its parent's client pixels.
inline RECT ChildRect(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class LoadedForm : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every expected value below is written for 96 dpi.
    ASSERT_EQ(forms::Screen::TwipsPerPixelX(), 15.0f);
    ASSERT_EQ(forms::Screen::TwipsPerPixelY(), 15.0f);
    form.Show();
    ASSERT_TRUE(form.Loaded());
  }
  void TearDown() override { ::ReleaseCapture(); }

  void Send(HWND window, UINT message, WPARAM keys, int x, int y) {
    ::SendMessageW(window, message, keys, At(x, y));
  }

  TestForm form;
};

}  // namespace forms_windows_test
