#include <atomic>
#include <string>
#include <thread>

#include "program_fixture.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

struct BoxSeen {
  std::wstring text, title;
  bool yes = false, no = false;
  int defaultButton = 0;
};

// Answers the first message box this process shows, from another thread, while the box's own
// loop runs on the test's thread.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int button) : thread_([this, button] { Answer(button); }) {}
  ~BoxAnswerer() { thread_.join(); }
  BoxSeen seen;

 private:
  static HWND FindBox() {
    for (HWND w : support::TopLevelWindowsOf(::GetCurrentProcessId()))
      if (support::WindowClass(w) == L"#32770" && ::IsWindowVisible(w)) return w;
    return nullptr;
  }
  void Answer(int button) {
    HWND box = nullptr;
    for (int tries = 0; tries < 250 && !(box = FindBox()); ++tries) ::Sleep(20);
    if (!box) return;
    seen.text = support::WindowCaption(::GetDlgItem(box, 0xFFFF));
    seen.title = support::WindowCaption(box);
    seen.yes = ::GetDlgItem(box, IDYES) != nullptr;
    seen.no = ::GetDlgItem(box, IDNO) != nullptr;
    for (int id : {IDYES, IDNO}) {
      const LONG_PTR style = ::GetWindowLongPtrW(::GetDlgItem(box, id), GWL_STYLE);
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.defaultButton = id;
    }
    ::SendMessageW(::GetDlgItem(box, button), BM_CLICK, 0, 0);
  }
  std::thread thread_;
};

void ExpectTheQuestion(const BoxSeen& seen) {
  EXPECT_EQ(seen.text, L"真的要退出吗？");
  EXPECT_EQ(seen.title, L"Harlune网络FM播放器");
  EXPECT_TRUE(seen.yes && seen.no);
  EXPECT_EQ(seen.defaultButton, IDYES);
}

TEST_F(ProgramWindows, NoToEitherExitButtonLeavesTheWindowAsItWas) {
  Form1& main = LoadMainWindow();
  for (int tick = 0; tick < 50; ++tick) main.Timer1_Timer();
  for (bool mini : {false, true}) {
    SCOPED_TRACE(mini ? "Picture18 in mini mode" : "Picture13");
    if (mini) main.Picture11_Click();
    RECT before;
    ::GetWindowRect(main.hWnd(), &before);
    const LONG exStyle = ::GetWindowLongW(main.hWnd(), GWL_EXSTYLE);
    {
      BoxAnswerer answer(IDNO);
      mini ? main.Picture18_Click() : main.Picture13_Click();
      ExpectTheQuestion(answer.seen);
    }
    RECT after;
    ::GetWindowRect(main.hWnd(), &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_EQ(::GetWindowLongW(main.hWnd(), GWL_EXSTYLE), exStyle) << "neither layered nor off the top band";
    EXPECT_FALSE(main.Timer1.Enabled());
  }
}

TEST_F(ProgramWindows, YesFadesOutFromWhatIsSeenToTheEnd) {
  Form1& main = LoadMainWindow();
  for (int tick = 0; tick < 50; ++tick) main.Timer1_Timer();
  {
    BoxAnswerer answer(IDYES);
    main.Picture13_Click();
  }
  EXPECT_TRUE(Layered(main.hWnd()));
  EXPECT_EQ(Alpha(main.hWnd()), 255) << "the fade-out starts from what is seen";
  for (int tick = 0; tick < 51; ++tick) main.Timer1_Timer();
  EXPECT_EQ(endCalls, 1);
}

}  // namespace
}  // namespace sonbrel
