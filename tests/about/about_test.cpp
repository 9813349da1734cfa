#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "about/Form2.h"
#include "app/program.h"
#include "mainwindow/Form1.h"
#include "shared/application.h"
#include "shared/shell_open.h"
#include "resources/resource_ids.h"
#include "startup/title.h"
#include "support/file_version.h"
#include "support/window_probe.h"

namespace sonbrel {
namespace {

std::wstring ThisVersion() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return support::FileVersionOf(path);
}

const std::string kSiteCall = "|Open|http://127.0.0.1:" + std::to_string(SONBREL_TEST_WEB_PORT) + "/|||1";
constexpr wchar_t kCaption[] = L"关于 Harlune网络FM播放器";
constexpr COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0);
const POINT kOnImage3{28, 28}, kOnImage2{344, 40}, kOnLabel4{40, 136};

void Send(HWND w, UINT message, WPARAM held, POINT p) { ::SendMessageW(w, message, held, MAKELPARAM(p.x, p.y)); }
void Click(HWND w, POINT p) { Send(w, WM_LBUTTONDOWN, MK_LBUTTON, p), Send(w, WM_LBUTTONUP, 0, p); }
Form2& About() { return forms::Forms::Get<Form2>(); }

class AboutWindow : public testing::Test {
 protected:
  void SetUp() override {
    forms::ReplaceEndForTesting([] {});
    forms::App().Title(kApplicationTitle);
    ReplaceShellExecuteForTesting([this](HWND owner, LPCSTR op, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
      shellCalls.push_back((owner ? "owner|" : "|") + std::string(op) + "|" + file + "|" + params + "|" + dir + "|" +
                           std::to_string(show));
      return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);  // a failure must leave no trace
    });
  }
  void TearDown() override {
    forms::Forms::DestroyAllForTesting();
    ReplaceShellExecuteForTesting(nullptr);
    forms::ReplaceEndForTesting(nullptr);
  }
  std::vector<std::string> shellCalls;  // owner?|operation|file|parameters|directory|show
};

TEST_F(AboutWindow, IsFramedAndNamesTheVersionAndItsBannerSpotsAndLinkAnswer) {
  About().Show();
  HWND w = About().hWnd();
  EXPECT_EQ(::GetWindowLongW(w, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(About().Caption(), kCaption);
  EXPECT_EQ(About().Label1.Caption(), L"Harlune网络FM播放器 正式版 (" + ThisVersion() + L")");
  Click(w, kOnImage2);
  EXPECT_EQ(About().Text1.Text(), TextResource(IDT_CREDITS)) << "a single click on Image2 does nothing";
  Click(w, kOnImage2), Send(w, WM_LBUTTONDBLCLK, MK_LBUTTON, kOnImage2), Send(w, WM_LBUTTONUP, 0, kOnImage2);
  EXPECT_EQ(About().Text1.Text(), TextResource(IDT_THANKS)) << "the double click reaches Image2 over the banner";
  forms::UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, 0, 0));
  ::SetForegroundWindow(other.Get());
  Click(w, kOnImage3);
  EXPECT_EQ(::GetForegroundWindow(), w) << "Image3 plays and shows the window again";
  // Red while any button is held; only the left one opens the site.
  for (auto [down, up, held, calls] : {std::tuple{WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 0u},
                                       std::tuple{WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 1u}}) {
    Send(w, down, held, kOnLabel4);
    EXPECT_EQ(About().Label4.ForeColor(), kRed) << down;
    Send(w, up, 0, kOnLabel4);
    EXPECT_EQ(About().Label4.ForeColor(), kBlue) << up;
    EXPECT_EQ(shellCalls, std::vector<std::string>(calls, kSiteCall)) << down;
  }
}

TEST_F(AboutWindow, BothPicturesShowOneModelessWindowAndEitherClosingRestoresTheNotice) {
  ConnectWindows();  // as the program runs: the main window comes from the splash
  forms::Forms::Get<title>().HandOver();
  Form1& main = forms::Forms::Get<Form1>();
  for (HWND picture : {main.Picture20.hWnd(), main.Picture9.hWnd(), main.Picture20.hWnd()}) Click(picture, {5, 5});
  EXPECT_TRUE(About().Visible() && support::FindTopLevelWindows(kCaption).size() == 1);
  for (bool button : {true, false}) {  // the button, then WM_CLOSE
    About().Show();
    ::SendMessageW(About().Command2.hWnd(), BM_CLICK, 0, 0);
    const std::wstring history = About().Text1.Text();  // its newest entry is this release
    EXPECT_TRUE(history == TextResource(IDT_HISTORY) && history.substr(0, history.find(L"\r\n")).ends_with(L" V" + ThisVersion()))
        << history.substr(0, 40);
    Send(About().hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, kOnLabel4);  // never released
    ::SendMessageW(button ? About().Command1.hWnd() : About().hWnd(), button ? BM_CLICK : WM_CLOSE, 0, 0);
    EXPECT_TRUE(!About().Loaded() && support::FindTopLevelWindows(kCaption).empty());
    About().Show();
    EXPECT_EQ(About().Text1.Text(), TextResource(IDT_CREDITS));
    EXPECT_EQ(About().Label4.ForeColor(), kBlue);
    About().Unload();
  }
}

}  // namespace
}  // namespace sonbrel
