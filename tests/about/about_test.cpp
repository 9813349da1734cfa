#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
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

// Entries newest first: a dated heading, a rule, items numbered from 1 ending "；" but the last "。".
TEST(AboutTexts, VersionsOfTwoDigitsAndTheHistorysShape) {
  EXPECT_EQ(NameAndVersion(L"名", 3, 10, 25), L"名 正式版 (3.10.25)");
  const std::wregex heading(L"2008\\.1[12]\\.\\d\\d ((ALPHA|BETA) )?V\\d+\\.\\d+\\.\\d+");
  std::vector<std::vector<std::wstring>> entries(1);
  const std::wstring text = TextResource(IDT_HISTORY) + L"\r\n";
  for (size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2)
    if (end == at) entries.emplace_back();
    else entries.back().push_back(text.substr(at, end - at));
  ASSERT_EQ(entries.size(), 11u);
  // The notice is 16 lines; the thanks note three, indented 4, 4 and 8 spaces.
  const std::wstring notice = TextResource(IDT_CREDITS), thanks = TextResource(IDT_THANKS);
  EXPECT_EQ(std::count(notice.begin(), notice.end(), L'\n'), 15);
  EXPECT_TRUE(std::regex_match(thanks, std::wregex(L" {4}\\S[^\r\n]*\r\n {4}\\S[^\r\n]*\r\n {8}\\S[^\r\n]*")));
  // The newest entry is the release itself.
  EXPECT_TRUE(entries[0][0].ends_with(L" V" + ThisVersion())) << entries[0][0];
  for (size_t e = 0; e < entries.size(); ++e) {
    const auto& entry = entries[e];
    ASSERT_GE(entry.size(), 3u) << e;
    EXPECT_TRUE(std::regex_match(entry[0], heading) && (e == 0 || entry[0] <= entries[e - 1][0])) << entry[0];
    EXPECT_EQ(entry[1], std::wstring(18, L'\x2014')) << entry[0];
    for (size_t i = 2; i < entry.size(); ++i)  // "(WEB)" only right after the number
      EXPECT_TRUE(std::regex_match(entry[i], std::wregex(std::to_wstring(i - 1) + L"\\.(\\(WEB\\))?[^(].*" +
                                                           (i + 1 == entry.size() ? L"。" : L"；")))) << entry[i];
  }
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

// A screen reader finds the link among the window's parts, reads where it goes and follows it.
TEST_F(AboutWindow, TheLinkReadsAsALinkToTheSiteAndItsDefaultActionOpensItAsAClickDoes) {
  About().Show();
  IAccessible* window = nullptr;
  ASSERT_EQ(::AccessibleObjectFromWindow(About().hWnd(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&window)),
            S_OK);
  LONG count = 0;
  window->get_accChildCount(&count);
  VARIANT link{}, child{}, role{};
  link.vt = child.vt = VT_I4;
  for (child.lVal = 1; child.lVal <= count; ++child.lVal)
    if (SUCCEEDED(window->get_accRole(child, &role)) && role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_LINK) link = child;
  ASSERT_NE(link.lVal, 0) << "no link among " << count;
  BSTR name = nullptr, value = nullptr;
  window->get_accName(link, &name);
  window->get_accValue(link, &value);
  const std::wstring site = L"http://127.0.0.1:" + std::to_wstring(SONBREL_TEST_WEB_PORT);
  EXPECT_EQ(std::wstring(name ? name : L""), site);
  EXPECT_EQ(std::wstring(value ? value : L""), site + L"/");
  ::SysFreeString(name);
  ::SysFreeString(value);
  EXPECT_EQ(window->accDoDefaultAction(link), S_OK);
  support::PumpMessages();
  EXPECT_EQ(shellCalls, std::vector<std::string>{kSiteCall});
  window->Release();
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
    EXPECT_EQ(About().Text1.Text(), TextResource(IDT_HISTORY));
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
