// Controls of a form. Each keeps its stored values until the form loads, then creates its
// window (or, windowless, paints on the form) from them; the same setters work before and after.
// Geometry is in twips relative to the form's client area.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "forms/accessibility.h"
#include "forms/handles.h"
#include "forms/picture.h"

namespace forms {

class AccessibleObject;
class Form;
class Tooltips;
class WindowBinding;

// Button: on a press or release the one button that changed (1 left, 2 right, 4 middle), on a
// move the sum of the buttons held. Shift: 1 Shift, 2 Ctrl, 4 Alt. X, Y: twips from the control.
using MouseEvent = std::function<void(int16_t Button, int16_t Shift, float X, float Y)>;
constexpr int16_t vbLeftButton = 1;
using Event = std::function<void()>;

// Where the pointer shows a cursor other than the arrow.
enum class MousePointer { Default, Custom };

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void Left(float twips);
  void Top(float twips);
  void Width(float twips);
  void Height(float twips);
  void Move(float left, float top, float width, float height);

  bool Visible() const { return visible_; }
  void Visible(bool visible);

  const std::wstring& ToolTipText() const { return toolTip_; }
  void ToolTipText(std::wstring text);

  // What assistive technology reads; the default action raises Click, as a left click does,
  // and only while the control can be seen.
  const forms::Accessibility& Accessibility() const { return accessibility_; }
  void Accessibility(forms::Accessibility facts) { accessibility_ = std::move(facts); }

  // The control's own window, or nullptr for a windowless control or before load.
  HWND hWnd() const { return window_.Get(); }

  // Events; a form's constructor connects its handlers to them.
  MouseEvent MouseDown, MouseUp, MouseMove;
  Event Click, DblClick;

 protected:
  // The runtime's side: for the form that owns the control and for the kinds of control.
  friend class Form;
  friend class Tooltips;
  friend class AccessibleObject;

  explicit Control(Form& owner);
  // Creating and destroying the window with the form.
  virtual void Create(HWND parent) = 0;
  virtual void Destroy();
  virtual bool Windowless() const { return false; }
  // Windowless controls that answer the mouse; the others let it through to the form.
  virtual bool TakesMouse() const { return false; }
  virtual void Paint(HDC) const {}          // windowless controls only
  // Draws at once what waits in the control's window for a paint message, if it can.
  virtual void DrawPending() {}
  virtual HCURSOR Cursor() const { return nullptr; }  // nullptr: the arrow
  virtual void Notify(WORD) {}              // a WM_COMMAND notification from the control's window
  virtual RECT PixelRect() const;           // in the form's client pixels
  // A key message for a window inside the control; true when the control took it.
  virtual bool TranslateKey(MSG&) { return false; }
  // A mouse button went down inside the control's window, before the window sees it.
  virtual void Pressed() {}
  // A mouse message with the position in pixels from the control's top left.
  void RaiseMouse(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_GETOBJECT for the control's own window (a window class of ours).
  LRESULT AnswerGetObject(WPARAM wParam, LPARAM lParam);
  void ForgetAccessible();  // the window goes
  // On the form, inside the form's client area, not hidden and not wholly under a window in front.
  bool ShownToUser() const;
  // Another window took the mouse: the press that armed a click is gone.
  void CaptureLost() { clickArmed_ = false; }

  virtual void Relayout();  // stored geometry or visibility changed
  // A child window of the form at the control's stored place; the control holds it. A window
  // of our own class binds itself to `createParam` while it is being created.
  void CreateChildWindow(HWND parent, const wchar_t* className, const std::wstring& text,
                         DWORD style, DWORD exStyle = 0, void* createParam = nullptr);
  void Changing();  // before a change of place or look: the old place is repainted
  void Changed();   // after it: the form repaints the control and updates its tip

  Form& owner_;
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  std::wstring toolTip_;
  UniqueWindow window_;

 private:
  forms::Accessibility accessibility_;
  ComPtr<AccessibleObject> accessible_;  // made at the first question, cut off with the window
  void TakeCapture();
  void ReleaseCaptureWhenIdle(WPARAM buttonsHeld);
  bool ContainsPixel(POINT p) const;

  bool clickArmed_ = false;  // a left press that a release over the control turns into Click
};

// A child window showing one picture, exactly the picture's size, no border.
class PictureBox : public Control {
 public:
  explicit PictureBox(Form& owner) : Control(owner) {}
  const forms::Picture& Picture() const { return picture_; }
  void Picture(forms::Picture picture);  // shown at once; the box takes the picture's size
  void MousePointer(forms::MousePointer pointer) { pointer_ = pointer; }
  void MouseIcon(int cursorResourceId) { cursorId_ = cursorResourceId; }

 private:
  friend class WindowBinding;
  void Create(HWND parent) override;
  HCURSOR Cursor() const override;
  void Bind(HWND window) { window_.Reset(window); }
  void Unbind() { window_.Release(); }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void PaintWindow();
  void ShowNewLook();
  void DrawPending() override;
  void DrawPicture();
  void TakePictureSize();

  forms::Picture picture_;
  forms::MousePointer pointer_ = forms::MousePointer::Default;
  int cursorId_ = 0;
};

// A windowless picture drawn on the form; a GIF keeps its transparency.
class Image : public Control {
 public:
  explicit Image(Form& owner) : Control(owner) {}
  const forms::Picture& Picture() const { return picture_; }
  void Picture(forms::Picture picture);

 private:
  void Create(HWND) override {}
  bool Windowless() const override { return true; }
  bool TakesMouse() const override { return true; }
  void Paint(HDC dc) const override;

  forms::Picture picture_;
};

struct FontSpec {
  std::wstring name;  // empty: the system's user-interface font
  float points = 9;
  bool underline = false;
  BYTE charset = DEFAULT_CHARSET;
};

// Windowless text drawn on the form.
class Label : public Control {
 public:
  explicit Label(Form& owner) : Control(owner) {}
  const std::wstring& Caption() const { return caption_; }
  void Caption(std::wstring caption);
  COLORREF ForeColor() const { return foreColor_; }
  void ForeColor(COLORREF color);
  void Font(FontSpec font);
  // The font the caption is drawn with; nullptr before load.
  HFONT hFont() const { return font_.Get(); }
  void MouseIcon(int cursorResourceId) { cursorId_ = cursorResourceId; }

 private:
  void Create(HWND parent) override;
  void Destroy() override;
  bool Windowless() const override { return true; }
  bool TakesMouse() const override { return true; }
  void Paint(HDC dc) const override;
  HCURSOR Cursor() const override;

  std::wstring caption_;
  COLORREF foreColor_ = RGB(0, 0, 0);
  FontSpec fontSpec_;
  UniqueFont font_;
  int cursorId_ = 0;
};

// Several lines, vertical scroll bar, read-only.
class TextBox : public Control {
 public:
  explicit TextBox(Form& owner) : Control(owner) {}
  const std::wstring& Text() const { return text_; }
  void Text(std::wstring text);

 private:
  void Create(HWND parent) override;
  void Destroy() override;

  std::wstring text_;
  UniqueFont font_;
};

class CommandButton : public Control {
 public:
  explicit CommandButton(Form& owner) : Control(owner) {}
  const std::wstring& Caption() const { return caption_; }
  void Caption(std::wstring caption);
  void Font(FontSpec font);

 private:
  void Create(HWND parent) override;
  void Destroy() override;
  void Notify(WORD code) override;

  std::wstring caption_;
  FontSpec fontSpec_;
  UniqueFont font_;
};

// A windowless line from (X1, Y1) to (X2, Y2) in twips, colour a system colour index.
class Line : public Control {
 public:
  explicit Line(Form& owner) : Control(owner) {}
  void Points(float x1, float y1, float x2, float y2);
  void BorderWidth(int pixels) { borderWidth_ = pixels; }
  void BorderColor(int systemColorIndex) { colorIndex_ = systemColorIndex; }

 private:
  void Create(HWND) override {}
  bool Windowless() const override { return true; }
  void Paint(HDC dc) const override;
  RECT PixelRect() const override;  // the points' box, widened by the pen

  float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  int borderWidth_ = 1;
  int colorIndex_ = COLOR_WINDOWTEXT;
};

// Ticks every Interval ms while Enabled; an interval of 0 never ticks.
class Timer {
 public:
  explicit Timer(Form& owner);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  unsigned Interval() const { return interval_; }
  void Interval(unsigned milliseconds);
  bool Enabled() const { return enabled_; }
  void Enabled(bool enabled);

  Event Tick;

 private:
  friend class Form;
  // The form's window appears and goes.
  void Attach(HWND form);
  void Detach();
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }
  void Apply();
  Form& owner_;
  HWND form_ = nullptr;
  unsigned interval_ = 0;
  bool enabled_ = true;
};

}  // namespace forms
