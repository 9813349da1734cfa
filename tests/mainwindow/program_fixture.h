// The program's windows created in the test process; the process never really ends.
#pragma once

#include <gtest/gtest.h>

#include "forms/forms.h"
#include "mainwindow/Form1.h"
#include "startup/application.h"
#include "startup/title.h"

namespace sonbrel::testing_support {

class ProgramWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::ReplaceEndForTesting([this] { ++endCalls; });
    forms::App().Title(kApplicationTitle);
  }
  void TearDown() override {
    forms::Forms::DestroyAllForTesting();
    forms::ReplaceEndForTesting(nullptr);
  }

  title& Splash() { return forms::Forms::Get<title>(); }
  Form1& Main() { return forms::Forms::Get<Form1>(); }

  // The splash shown first, then the main window, as the start-up does.
  Form1& LoadMainWindow() {
    Splash().Show();
    Main().Show();
    return Main();
  }

  static bool Layered(HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
  static int Alpha(HWND w) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
  }
  static bool SameShape(HRGN a, HRGN b) {
    forms::UniqueRegion x{::CreateRectRgn(0, 0, 0, 0)};
    return ::CombineRgn(x.Get(), a, b, RGN_XOR) == NULLREGION;
  }
  static bool WindowHasShape(HWND w, HRGN expected) {
    forms::UniqueRegion actual{::CreateRectRgn(0, 0, 0, 0)};
    return ::GetWindowRgn(w, actual.Get()) != ERROR && SameShape(actual.Get(), expected);
  }

  int endCalls = 0;
};

}  // namespace sonbrel::testing_support
