// The program's windows created in the test process; the process never really ends.
#pragma once

#include <gtest/gtest.h>

#include "forms/forms.h"
#include "mainwindow/Form1.h"
#include "shared/application.h"
#include "app/program.h"
#include "startup/title.h"
#include "support/window_probe.h"

namespace sonbrel::testing_support {

class ProgramWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::ReplaceEndForTesting([] {});
    forms::App().Title(kApplicationTitle);
    ConnectWindows();
  }
  void TearDown() override {
    forms::Forms::DestroyAllForTesting();
    forms::ReplaceEndForTesting(nullptr);
    forms::ReplaceMsgBoxForTesting(nullptr);
  }

  title& Splash() { return forms::Forms::Get<title>(); }
  Form1& Main() { return forms::Forms::Get<Form1>(); }
  // The splash shown first, then the main window, as the start-up does.
  Form1& LoadMainWindow() {
    Splash().Show();
    Splash().HandOver();
    return Main();
  }
  template <class F>
  static void Ticks(F& form, int n) { while (n-- > 0) form.Timer1_Timer(); }
  RECT MainRect() { return support::DescribeWindow(Main().hWnd()).rect; }
  static bool Layered(HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
  static bool TopMost(HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
  static int Alpha(HWND w) { return support::LayeredAlpha(w).value_or(-1); }
  // Same by XOR; a window without a region has none.
  static bool WindowHasShape(HWND w, HRGN expected) { return support::SameShape(support::WindowRegion(w).Get(), expected); }
};

}  // namespace sonbrel::testing_support
