// A top-level window with its controls. Created on first reference, loaded on first Show.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "forms/controls.h"
#include "forms/handles.h"

namespace forms {

class AccessibleObject;
class Tooltips;
class WindowBinding;
struct ProgramDescription;

enum class BorderStyle { None, FixedSingle };
enum class StartUpPosition { Manual, CenterScreen };

// The stored values of a form.
struct FormLayout {
  std::wstring caption;
  BorderStyle border = BorderStyle::None;
  float clientWidth = 0, clientHeight = 0;  // twips
  float left = 0, top = 0;                  // twips, used with StartUpPosition::Manual
  StartUpPosition startUpPosition = StartUpPosition::Manual;
  bool showInTaskbar = true;
  int iconResourceId = 0;  // 0: no icon
  COLORREF backColor = RGB(0, 0, 0);
};

class Form {
 public:
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  // Loads the form (Form_Load) when it is not loaded, then shows it, modeless, no owner.
  void Show();
  void Hide() { Visible(false); }
  // Asks Form_Unload; destroys the window unless Cancel came back non-zero. The system closing
  // the window (WM_CLOSE) takes the same road.
  void Unload();
  bool Loaded() const { return static_cast<bool>(window_); }

  HWND hWnd() const { return window_.Get(); }
  // The controls, front to back.
  const std::vector<Control*>& Controls() const { return controls_; }

  // The window's outer rectangle in twips; each write is one full move (position and size
  // together, as MoveWindow does) through the window's procedure.
  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  void Left(float twips);
  void Top(float twips);
  void Width(float twips);
  void Height(float twips);

  const std::wstring& Caption() const { return layout_.caption; }
  void Caption(std::wstring caption);
  bool Visible() const;
  void Visible(bool visible);
  HICON Icon() const { return icon_.Get(); }

  // While held, changes of place, size, outline, visibility and pictures reach the screen only
  // when the last hold ends, in one paint of the form and its visible controls.
  class RedrawHold {
   public:
    explicit RedrawHold(Form& form);
    RedrawHold(const RedrawHold&) = delete;
    RedrawHold& operator=(const RedrawHold&) = delete;
    ~RedrawHold();

   private:
    Form& form_;
  };
  bool RedrawHeld() const { return redrawHolds_ > 0; }

  // Persistent drawing: a memory drawing context behind the form's client area. hDC is
  // nullptr while AutoRedraw is off or the form is not loaded.
  void AutoRedraw(bool on);
  HDC hDC() const;

 protected:
  explicit Form(FormLayout layout);

  // Controls front to back, as the layout lists them; created in this order at load. A loaded
  // form re-stacks its child windows at once.
  void Stack(std::vector<Control*> frontToBack);

  virtual void Form_Load() {}
  virtual void Form_Unload(int16_t& Cancel) { (void)Cancel; }
  virtual void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) {
    (void)Button, (void)Shift, (void)X, (void)Y;
  }
  // Messages registered by name (0xC000 to 0xFFFF), such as the shell's "TaskbarCreated".
  virtual void Form_RegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)message, (void)wParam, (void)lParam;
  }

 private:
  friend class AccessibleObject;
  friend class Control;
  friend class Timer;
  friend class WindowBinding;
  friend int Run(const ProgramDescription& program);
  friend bool OfferToControls(MSG& message);

  static Form* FromWindow(HWND window);  // the form whose window holds `window`
  bool Offer(MSG& message);
  void Bind(HWND window);
  void Unbind();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ControlChanged(const Control& control);  // repaint or re-place it
  // Windowless controls the program described, which the form's accessible object holds as parts.
  std::vector<Control*> AccessibleParts() const;
  // A default action asked for through accessibility: the control's click, from the queue.
  void PostDefaultAction(Control& control);
  void RunDefaultAction(const Control* control);
  void AddTimer(Timer& timer) { timers_.push_back(&timer); }
  void RemoveTimer(Timer& timer);
  void OnCaptureChanged(HWND newCapture);

  void Load();
  bool CreateWindowFromLayout();
  void LoadIcons();
  void CreateControls();
  void StackChildWindows();
  void Destroy();
  void TearDown();
  void Paint();
  LRESULT OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnSetCursor(LPARAM lParam);
  void OnTimer(UINT_PTR id);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  Control* WindowlessAt(POINT clientPixel) const;
  void MoveTo(int x, int y, int cx, int cy);
  RECT WindowRect() const;
  RECT InitialRect() const;
  SIZE FrameSize() const;
  DWORD Style() const;
  DWORD ExStyle() const;

  FormLayout layout_;
  UniqueWindow window_;
  UniqueIcon icon_;
  UniqueIcon smallIcon_;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
  Control* captured_ = nullptr;
  struct Surface;
  std::unique_ptr<Surface> surface_;
  bool autoRedraw_ = false;
  std::unique_ptr<Tooltips> tooltips_;
  ComPtr<AccessibleObject> accessible_;
  bool inUnload_ = false;
  int redrawHolds_ = 0;
  std::optional<DWORD> createError_;  // set when the last load got no window: the system's error
};

// Each window exists once, created on its first reference and addressed by its type.
class Forms {
 public:
  template <class T>
  static T& Get() {
    auto& slot = Slot(typeid(T));
    if (!slot) slot = std::make_unique<T>();
    return static_cast<T&>(*slot);
  }
  // Tests start from no forms at all.
  static void DestroyAllForTesting();

 private:
  static std::unique_ptr<Form>& Slot(std::type_index type);
};

// The program's description handed to the runtime at the entry point.
struct ProgramDescription {
  std::wstring title;                // the application title
  std::function<Form&()> startupForm;  // loaded and shown first
};

// Sets the title, loads and shows the start-up form, then runs the message loop.
int Run(const ProgramDescription& program);

}  // namespace forms
