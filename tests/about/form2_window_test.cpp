#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about/Form2.h"
#include "mainwindow/Form1.h"
#include "resources/resource_ids.h"
#include "program/application.h"
#include "support/window_probe.h"
#include "version.h"

namespace sonbrel {
namespace {

constexpr wchar_t kCaption[] = L"关于 Harlune网络FM播放器";
constexpr COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0);

class AboutWindow : public testing::Test {
 protected:
  void SetUp() override {
    forms::ReplaceEndForTesting([] {});
    forms::App().Title(kApplicationTitle);
    ShellExecuteA = [this](HWND owner, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
      shellCalls.push_back(std::to_string(reinterpret_cast<uintptr_t>(owner)) + "|" + op + "|" + file + "|" + params +
                           "|" + dir + "|" + std::to_string(show));
      return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);  // a failure must leave no trace
    };
  }
  void TearDown() override {
    forms::Forms::DestroyAllForTesting();
    ShellExecuteA = ::ShellExecuteA;
    forms::ReplaceEndForTesting(nullptr);
  }

  Form2& About() { return forms::Forms::Get<Form2>(); }
  Form2& Shown() {
    About().Show();
    return About();
  }
  // Mouse messages as the system sends them to the window under the pointer (client pixels).
  static void Send(HWND w, UINT message, WPARAM held, POINT p) {
    ::SendMessageW(w, message, held, MAKELPARAM(p.x, p.y));
  }
  static void Click(HWND w, POINT p) {
    Send(w, WM_LBUTTONDOWN, MK_LBUTTON, p);
    Send(w, WM_LBUTTONUP, 0, p);
  }
  static void DoubleClick(HWND w, POINT p) {
    Click(w, p);
    Send(w, WM_LBUTTONDBLCLK, MK_LBUTTON, p);
    Send(w, WM_LBUTTONUP, 0, p);
  }
  static std::wstring TextOf(HWND w) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  std::vector<std::string> shellCalls;  // owner|operation|file|parameters|directory|show
};

const POINT kOnImage3{28, 28}, kOnImage2{344, 40}, kOnLabel4{40, 136};

TEST_F(AboutWindow, LoadsFramedWithItsCaptionsAndChildWindowsInStackingOrder) {
  Form2& about = Shown();
  HWND w = about.hWnd();
  RECT window, client;
  ::GetWindowRect(w, &window);
  ::GetClientRect(w, &client);
  EXPECT_EQ(window.left, 289);
  EXPECT_EQ(window.top, 180);
  EXPECT_EQ(client.right, 374);
  EXPECT_EQ(client.bottom, 255);
  const LONG style = ::GetWindowLongW(w, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(::GetWindow(w, GW_OWNER), nullptr);
  EXPECT_NE(about.Icon(), nullptr);
  EXPECT_EQ(TextOf(w), kCaption);
  EXPECT_EQ(about.Label1.Caption(), L"Harlune网络FM播放器 正式版 (3.0.1)");
  EXPECT_EQ(about.Label4.Caption(), L"http://" SONBREL_WEB_HOST_W);
  EXPECT_EQ(about.Label4.ForeColor(), kBlue);

  const struct {
    forms::Control* control;
    RECT rect;  // left, top, right, bottom
    bool visible;
  } children[] = {
      {&about.Text2, {240, 192, 305, 204}, false},   {&about.Text3, {288, 192, 337, 204}, false},
      {&about.Command2, {224, 224, 289, 249}, true}, {&about.Text1, {16, 144, 362, 211}, true},
      {&about.Command1, {296, 224, 361, 249}, true},
  };
  HWND child = ::GetWindow(w, GW_CHILD);
  for (const auto& c : children) {
    ASSERT_EQ(child, c.control->hWnd()) << "stacking order";
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, w, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(::EqualRect(&r, &c.rect)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    EXPECT_EQ(::IsWindowVisible(child) != FALSE, c.visible);
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
}

TEST_F(AboutWindow, TheButtonAndTheHotSpotsOverTheBannerPutTheirTextsInTheBox) {
  Form2& about = Shown();
  HWND w = about.hWnd(), box = about.Text1.hWnd();
  ::SendMessageW(about.Command2.hWnd(), BM_CLICK, 0, 0);
  ::SendMessageW(about.Command2.hWnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(TextOf(box), TextResource(IDT_HISTORY));

  Click(w, kOnImage2);
  EXPECT_EQ(TextOf(box), TextResource(IDT_HISTORY)) << "a single click on Image2 does nothing";
  DoubleClick(w, kOnImage2);
  EXPECT_EQ(TextOf(box), TextResource(IDT_THANKS)) << "the double click reaches Image2 over the banner";

  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
  ::SetForegroundWindow(other);
  Click(w, kOnImage3);
  EXPECT_EQ(::GetForegroundWindow(), w) << "Image3 plays and shows the window again";
  EXPECT_EQ(TextOf(box), TextResource(IDT_THANKS));
  ::DestroyWindow(other);
}

TEST_F(AboutWindow, TheLinkIsRedWhileAnyButtonIsHeldAndALeftClickOpensTheSite) {
  Form2& about = Shown();
  HWND w = about.hWnd();
  const std::string opened = "0|Open|http://" SONBREL_WEB_HOST_A "/|||1";
  const struct {
    UINT down, up;
    WPARAM held;
    std::vector<std::string> callsAfter;
  } presses[] = {{WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, {}}, {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, {opened}}};
  for (const auto& p : presses) {
    Send(w, p.down, p.held, kOnLabel4);
    EXPECT_EQ(about.Label4.ForeColor(), kRed) << p.down;
    Send(w, p.up, 0, kOnLabel4);
    EXPECT_EQ(about.Label4.ForeColor(), kBlue) << p.up;
    EXPECT_EQ(shellCalls, p.callsAfter) << p.down;
  }
  EXPECT_TRUE(::IsWindowVisible(w)) << "the window stays open";
}

TEST_F(AboutWindow, BothAboutPicturesShowTheOneModelessWindow) {
  Form1& main = forms::Forms::Get<Form1>();
  main.Show();
  for (HWND picture : {main.Picture20.hWnd(), main.Picture9.hWnd(), main.Picture20.hWnd()}) {
    Click(picture, POINT{5, 5});
    EXPECT_TRUE(About().Visible());
  }
  EXPECT_EQ(support::FindTopLevelWindows(kCaption).size(), 1u);
  EXPECT_TRUE(::IsWindowEnabled(main.hWnd())) << "not modal";
}

TEST_F(AboutWindow, ClosingEitherWayAndShowingAgainBringsBackTheNotice) {
  const std::function<void(Form2&)> closings[] = {
      [](Form2& about) { ::SendMessageW(about.Command1.hWnd(), BM_CLICK, 0, 0); },
      [](Form2& about) { ::SendMessageW(about.hWnd(), WM_CLOSE, 0, 0); }};
  for (const auto& close : closings) {
    Form2& about = Shown();
    ::SendMessageW(about.Command2.hWnd(), BM_CLICK, 0, 0);
    Send(about.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, kOnLabel4);  // never released
    close(about);
    EXPECT_FALSE(About().Loaded());
    EXPECT_TRUE(support::FindTopLevelWindows(kCaption).empty());
    Shown();
    EXPECT_EQ(TextOf(About().Text1.hWnd()), TextResource(IDT_CREDITS));
    EXPECT_EQ(About().Label4.ForeColor(), kBlue);
    About().Unload();
  }
}

}  // namespace
}  // namespace sonbrel
