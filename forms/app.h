// The application object, the screen and the process-wide calls of the runtime.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "forms/handles.h"

namespace forms {

class Application {
 public:
  // Read-only once, at the first call: another copy of this program (same exe file name)
  // holds the named kernel object. Holding it from then on is what makes later copies see True,
  // so two copies started at the same instant cannot both see False.
  bool PrevInstance();
  // Later copies no longer see this one: for a process that is on its way out.
  void GiveUpInstanceClaim() { instanceMarker_.Reset(); }

  // The title lives on the hidden application window; writing it renames that window.
  const std::wstring& Title() const { return title_; }
  void Title(std::wstring title);

  // From the exe's own version resource (file version major.minor.0.revision).
  int Major() const;
  int Minor() const;
  int Revision() const;

  // The hidden top-level window that carries the title (created by the first Title write).
  HWND hWnd() const { return window_.Get(); }

 private:
  std::wstring title_;
  UniqueWindow window_;
  UniqueKernelHandle instanceMarker_;
  bool prevInstanceKnown_ = false;
  bool prevInstance_ = false;
};

Application& App();

namespace Screen {
float TwipsPerPixelX();
float TwipsPerPixelY();
}  // namespace Screen

// Twips to whole pixels at the screen's current resolution, halves to the even neighbour.
int TwipsToPixelsX(float twips);
int TwipsToPixelsY(float twips);
float PixelsToTwipsX(int pixels);
float PixelsToTwipsY(int pixels);
// The rounding itself: nearest whole number, halves to even.
int RoundHalfEven(double value);

// Brings to the foreground a top-level window whose title is `title` (ignoring case) or,
// failing that, begins with it; a visible window before a hidden one. A hidden window stays
// hidden. Returns false when no window matched.
bool AppActivate(const std::wstring& title);

// Ends the process at once: no unload handler runs, timers stop with the process.
void End();
// Tests see that the process would end: End calls this instead and returns. Empty restores.
void ReplaceEndForTesting(std::function<void()> onEnd);

// Yes/No box, modal to the application. Returns 6 (Yes) or 7 (No). Only style 4 (vbYesNo) and
// its default first button are used by programs here; other styles pass through to MessageBoxW.
int MsgBox(const std::wstring& prompt, unsigned style, const std::wstring& title = {});
// Tests answer the boxes themselves: MsgBox calls this instead. Empty restores.
using MsgBoxHandler = std::function<int(const std::wstring& prompt, unsigned style, const std::wstring& title)>;
void ReplaceMsgBoxForTesting(MsgBoxHandler handler);

// Runs the message loop until the process ends or WM_QUIT arrives.
int RunMessageLoop();

}  // namespace forms
