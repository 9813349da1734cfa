// The built Sonbrel.exe under Wine with its station server, driven with input the system generates.
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "resources/resource_ids.h"
#include "support/station_server.h"
#include "support/user_input.h"
#include "support/window_probe.h"

namespace {

using support::ChildProcess, support::WaitFor;

constexpr wchar_t kTitle[] = L"Harlune网络FM播放器";
constexpr char kStationPage[] = "/sonbrel/index3.htm";

ChildProcess StartProgram() { return ChildProcess::Start(L"\"" + std::wstring(SONBREL_EXE) + L"\""); }
HWND VisibleChild(HWND parent, const std::wstring& className) {
  for (const auto& child : support::VisibleChildren(parent))
    if (child.className == className) return child.window;
  return nullptr;
}

class RunningProgram : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening()) << "port " << SONBREL_TEST_WEB_PORT << " is taken";
    program = StartProgram();
    ASSERT_TRUE(WaitFor([&] { return (splash = support::VisibleWindowOf(program->Id(), L"Form3")); }, 10000));
    ASSERT_TRUE(WaitFor([&] { return !support::LayeredAlpha(splash); }, 5000)) << "the splash still fading in";
    splashPicture = support::GifShareShown(splash, {0, 0}, SONBREL_EXE, IDG_SPLASH);
    ASSERT_TRUE(WaitFor([&] { return (mainWindow = support::VisibleWindowOf(program->Id(), kTitle)); }, 15000));
    ASSERT_TRUE(server.WaitForRequests(kStationPage, 1, 10000));
    ASSERT_TRUE(WaitFor([&] { return !support::LayeredAlpha(mainWindow); }, 5000)) << "still fading in";
  }
  POINT OnScreen(POINT inWindow) {
    const RECT r = support::DescribeWindow(mainWindow).rect;
    return {r.left + inWindow.x, r.top + inWindow.y};
  }
  void ClickAt(POINT inWindow) {
    support::MovePointerTo(OnScreen(inWindow));
    support::Click();
  }
  bool Shows(POINT topLeft, int id) {
    return WaitFor([&] { return support::ScreenShowsBitmap(OnScreen(topLeft), SONBREL_EXE, id); }, 2000);
  }
  bool Is(SIZE size, bool topmost) {
    const support::WindowFacts f = support::DescribeWindow(mainWindow);
    return f.rect.right - f.rect.left == size.cx && f.rect.bottom - f.rect.top == size.cy &&
           ((f.exStyle & WS_EX_TOPMOST) != 0) == topmost;
  }

  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_TEST_WEB_PORT};
  std::optional<ChildProcess> program;
  HWND splash = nullptr, mainWindow = nullptr;
  double splashPicture = -1;  // the share of its GIF on the screen once it has faded in
};

TEST_F(RunningProgram, StartsOnceASecondCopyActivatesItAndTheHiddenButtonReloadsThePage) {
  EXPECT_TRUE(::IsWindow(splash) && !::IsWindowVisible(splash)) << "the splash stays loaded, hidden";
  EXPECT_EQ(splashPicture, 1.0) << "the splash's picture, as the system's picture loader draws it";
  // Wine here has no sound device; that the chime was started shows in the audio stack it loaded.
  // The pictures are the program's own work: no imaging codec is ever loaded.
  const std::vector<std::wstring> modules = program->Modules();
  EXPECT_NE(std::find(modules.begin(), modules.end(), L"winmm.dll"), modules.end()) << "the chime never started";
  EXPECT_EQ(std::find(modules.begin(), modules.end(), L"windowscodecs.dll"), modules.end());
  HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, {}, {}, {}, {});
  ::SetForegroundWindow(other);
  support::PumpMessages();
  ChildProcess second = StartProgram();
  bool showedAWindow = false;
  ASSERT_TRUE(WaitFor([&] {
    for (HWND w : second.Windows()) showedAWindow |= ::IsWindowVisible(w) != FALSE;
    return second.ExitCode().has_value();
  }, 10000));
  EXPECT_TRUE(!showedAWindow && second.ExitCode() == 0u);
  EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == mainWindow; }, 3000));
  ::DestroyWindow(other);
  EXPECT_TRUE(!program->ExitCode() && server.Requests(kStationPage) == 1) << "the first runs on, its page loaded once";

  support::MovePointerTo(OnScreen({3, 120}));  // the left edge
  support::DoubleClick();
  HWND refresh = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (refresh = VisibleChild(mainWindow, L"Button")); }, 3000));
  const RECT r = support::DescribeWindow(refresh).rect;
  support::MovePointerTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  support::Click();
  EXPECT_TRUE(server.WaitForRequests(kStationPage, 2, 10000));
}

TEST_F(RunningProgram, ButtonLooksFollowThePointerAndTheTitleStripDrags) {
  constexpr POINT kMinimize{250, 4}, kMiniMode{268, 4}, kTitleStrip{120, 12};
  support::MovePointerTo(OnScreen({258, 13}));
  EXPECT_TRUE(Shows(kMinimize, IDB_MINIMIZE_NORMAL + 1));
  support::MovePointerTo(OnScreen({276, 13}));
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 1) && Shows(kMinimize, IDB_MINIMIZE_NORMAL));
  support::PressButton();
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 2));
  const POINT grab = OnScreen(kTitleStrip);
  support::MovePointerTo(grab);
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL + 1)) << "held and moved off: hover";
  support::ReleaseButton();  // off the button: no click
  EXPECT_TRUE(Shows(kMiniMode, IDB_MINIMODE_NORMAL));

  const RECT before = support::DescribeWindow(mainWindow).rect;
  support::PressButton();
  for (int step = 1; step <= 4; ++step) support::MovePointerTo({grab.x + 9 * step + 1, grab.y + 6 * step - 1});
  support::ReleaseButton();
  EXPECT_TRUE(WaitFor([&] { return OnScreen({0, 0}).x == before.left + 37 && OnScreen({0, 0}).y == before.top + 23; },
                      3000)) << "moved by the pointer's distance";
}

// A start right after the Yes must run normally, not take the fading copy for a running one.
TEST_F(RunningProgram, PanelMiniBarNotificationAreaAndExitRoundTrips) {
  constexpr POINT kMiniMode{276, 13};
  const struct { POINT button; SIZE size; } steps[] = {
      {{262, 111}, {308, 441}}, {{262, 111}, {308, 161}},  // the playlist tab; then its close face on the same place
      {{262, 111}, {308, 441}}, {{294, 174}, {308, 161}},  // the panel's own close button
      {kMiniMode, {236, 25}},   {{228, 17}, {308, 161}}};  // the mini bar and back
  // The panel's drag strip lies over a few of the tab's pixels.
  auto tabShows = [&] { return support::GifShareShown(mainWindow, {216, 99}, SONBREL_EXE, IDG_PLAYLIST_TAB) > 0.85; };
  EXPECT_TRUE(tabShows()) << "the playlist tab, as the system's picture loader draws it";
  for (const auto& step : steps) {
    ClickAt(step.button);
    EXPECT_TRUE(WaitFor([&] { return Is(step.size, step.size.cx == 236); }, 3000)) << step.button.x;
    if (step.size.cx == 236) {
      EXPECT_TRUE(Shows({222, 12}, IDB_MINI_NORMALMODE_NORMAL)) << "the mini bar's face";
    }
  }
  EXPECT_TRUE(Shows({268, 4}, IDB_MINIMODE_NORMAL)) << "the mini-mode button comes back in its normal look";
  EXPECT_TRUE(WaitFor(tabShows, 2000)) << "loaded anew by the switches, drawn the same";

  // With its icon's place taken the window stays: there would be no way back to it.
  NOTIFYICONDATAW icon{};
  icon.cbSize = NOTIFYICONDATAW_V1_SIZE, icon.hWnd = mainWindow, icon.uID = 1;  // the program's one icon
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_ADD, &icon));
  ClickAt({258, 13});  // minimize
  EXPECT_FALSE(WaitFor([&] { return !::IsWindowVisible(mainWindow); }, 1000));
  ::Shell_NotifyIconW(NIM_DELETE, &icon);
  ClickAt({258, 13});
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(mainWindow); }, 3000));
  // With no tray manager on the display, Wine shows the icons in a window of its own.
  HWND tray = nullptr;
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(tray = ::FindWindowW(nullptr, L"Wine System Tray")); }, 5000));
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &icon));  // as a restarted shell has forgotten it
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(tray); }, 3000));
  ::PostMessageW(mainWindow, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(tray) != FALSE; }, 3000)) << "the icon is not back";
  POINT firstSlot{10, 10};  // the icons sit in 20-pixel slots of its client area
  ::ClientToScreen(tray, &firstSlot);
  support::MovePointerTo(firstSlot);
  support::DoubleClick();
  EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(mainWindow) && !::IsWindowVisible(tray); }, 3000));

  ClickAt(kMiniMode);
  ASSERT_TRUE(WaitFor([&] { return Is({236, 25}, true); }, 3000));
  ClickAt({228, 6});  // the mini bar's exit
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = ::FindWindowW(L"#32770", kTitle)) != nullptr; }, 5000)) << "no question";
  // Found as it is made: its text may come a moment later.
  EXPECT_TRUE(WaitFor([&] { return support::WindowCaption(::GetDlgItem(box, 0xFFFF)) == L"真的要退出吗？"; }, 3000));
  support::PressKey(VK_RETURN);  // Yes is the default
  ChildProcess next = StartProgram();
  bool sawFading = false;
  ASSERT_TRUE(WaitFor([&] {
    if (auto alpha = support::LayeredAlpha(mainWindow)) sawFading |= *alpha > 0 && *alpha < 255;
    return program->ExitCode().has_value();
  }, 5000));
  EXPECT_TRUE(sawFading && program->ExitCode() == 0u);
  EXPECT_TRUE(WaitFor([&] { return support::VisibleWindowOf(next.Id(), kTitle) && !next.ExitCode(); }, 15000));
}

// The default browser for the test's length: each address it is handed becomes a line of a file.
class BrowserRecorder {
 public:
  BrowserRecorder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    file_ = std::wstring(folder) + L"sonbrel-browser-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    ::DeleteFileW(file_.c_str());
    wchar_t saved[1024] = {};
    DWORD size = sizeof saved;
    hadCommand_ = ::RegGetValueW(HKEY_CLASSES_ROOT, kCommand, nullptr, RRF_RT_REG_SZ, nullptr, saved, &size) == 0;
    saved_ = saved;
    Set(L"C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + file_ + L"\"");
  }
  BrowserRecorder(const BrowserRecorder&) = delete;
  BrowserRecorder& operator=(const BrowserRecorder&) = delete;
  ~BrowserRecorder() {
    if (hadCommand_) Set(saved_);
    ::DeleteFileW(file_.c_str());
  }
  std::string Lines() const {
    std::ifstream in(std::filesystem::path(file_), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

 private:
  static constexpr wchar_t kCommand[] = L"http\\shell\\open\\command";
  void Set(const std::wstring& command) {
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, kCommand, nullptr, REG_SZ, command.c_str(),
                      static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  }
  std::wstring file_, saved_;
  bool hadCommand_ = false;
};

TEST_F(RunningProgram, TheAboutLinkOpensTheMakersSiteInTheDefaultBrowser) {
  BrowserRecorder browser;
  ClickAt({290, 140});  // the logo
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = ::FindWindowW(nullptr, L"关于 Harlune网络FM播放器")); }, 5000));
  POINT link{30, 136};
  ::ClientToScreen(about, &link);
  support::MovePointerTo(link);
  support::Click();
  const std::string site = "http://127.0.0.1:" + std::to_string(SONBREL_TEST_WEB_PORT) + "/\r\n";
  EXPECT_TRUE(WaitFor([&] { return browser.Lines() == site; }, 10000)) << browser.Lines();
  ::PostMessageW(about, WM_CLOSE, 0, 0);
}

// The skin as a screen reader's inspector lists it, front to back: each named button's name, role
// and whether it is shown; the art stays unnamed, roleless and out of the way.
class ReadAloud : public RunningProgram {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    RunningProgram::SetUp();
  }
  void TearDown() override {
    RunningProgram::TearDown();
    ::CoUninitialize();
  }
  struct Item { HWND window; std::wstring name; LONG role, state; };
  static constexpr LONG kHidden = STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;

  static IAccessible* Object(HWND window) {
    IAccessible* object = nullptr;
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
    return object;
  }
  static VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;  // CHILDID_SELF is 0
    return self;
  }
  static Item Read(HWND window) {
    Item item{window, L"", 0, 0};
    IAccessible* object = Object(window);
    if (!object) return item;
    VARIANT self = Self(), value;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name) item.name = name;
    ::SysFreeString(name);
    ::VariantInit(&value);
    if (SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4) item.role = value.lVal;
    ::VariantInit(&value);
    if (SUCCEEDED(object->get_accState(self, &value)) && value.vt == VT_I4) item.state = value.lVal;
    object->Release();
    return item;
  }
  std::vector<Item> Skin() {
    std::vector<Item> items;
    for (HWND child = ::GetWindow(mainWindow, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
      if (support::WindowClass(child) == L"FormsPictureBox") items.push_back(Read(child));
    return items;
  }
  std::wstring Tree() {
    std::wstring tree;
    for (const Item& item : Skin()) {
      if (item.name.empty()) {
        EXPECT_EQ(item.state & STATE_SYSTEM_FOCUSABLE, 0) << "art is not a place to move to";
        continue;
      }
      EXPECT_EQ(item.role, ROLE_SYSTEM_PUSHBUTTON) << item.name;
      EXPECT_TRUE((item.state & kHidden) == 0 || (item.state & kHidden) == kHidden);
      tree += item.name + ((item.state & kHidden) ? L" hidden, " : L" shown, ");
    }
    return tree;
  }
  // The button of that name the user can see, pressed the way a screen reader presses it.
  void Press(const std::wstring& name) {
    for (const Item& item : Skin()) {
      if (item.name != name || (item.state & kHidden)) continue;
      IAccessible* object = Object(item.window);
      ASSERT_TRUE(object) << name;
      EXPECT_EQ(object->accDoDefaultAction(Self()), S_OK) << name;
      object->Release();
      return;
    }
    ADD_FAILURE() << "no shown button " << name;
  }
};

TEST_F(ReadAloud, EveryButtonIsNamedInEachModeAndItsDefaultActionIsItsClick) {
  EXPECT_EQ(Read(mainWindow).name, kTitle);
  EXPECT_EQ(Tree(), L"关闭播放列表 hidden, 关于 hidden, 退出 hidden, 普通模式 hidden, 退出 shown, 迷你模式 shown, "
                    L"打开/关闭播放列表 shown, 打开/关闭播放列表 hidden, 关于 shown, 最小化 shown, 最小化 hidden, ");
  Press(L"打开/关闭播放列表");
  ASSERT_TRUE(WaitFor([&] { return Is({308, 441}, false); }, 3000));
  EXPECT_EQ(Tree(), L"关闭播放列表 shown, 关于 hidden, 退出 hidden, 普通模式 hidden, 退出 shown, 迷你模式 shown, "
                    L"打开/关闭播放列表 hidden, 打开/关闭播放列表 shown, 关于 shown, 最小化 shown, 最小化 hidden, ");
  Press(L"打开/关闭播放列表");
  ASSERT_TRUE(WaitFor([&] { return Is({308, 161}, false); }, 3000));
  Press(L"迷你模式");
  ASSERT_TRUE(WaitFor([&] { return Is({236, 25}, true); }, 3000));
  EXPECT_EQ(Tree(), L"关闭播放列表 hidden, 关于 shown, 退出 shown, 普通模式 shown, 退出 hidden, 迷你模式 hidden, "
                    L"打开/关闭播放列表 hidden, 打开/关闭播放列表 hidden, 关于 hidden, 最小化 hidden, 最小化 shown, ");
  Press(L"普通模式");
  ASSERT_TRUE(WaitFor([&] { return Is({308, 161}, false); }, 3000));

  Press(L"最小化");
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(mainWindow); }, 3000));
  EXPECT_EQ(Tree().find(L"shown"), std::wstring::npos) << "nothing of a hidden window is shown";
  // The icon's messages come as a mouse move with the mouse message in x; only the double click
  // with the left button brings the window back.
  for (UINT other : {WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK}) ::SendMessageW(mainWindow, WM_MOUSEMOVE, 0, other);
  EXPECT_FALSE(::IsWindowVisible(mainWindow));
  ::PostMessageW(mainWindow, WM_MOUSEMOVE, 0, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(mainWindow) != FALSE; }, 3000));

  Press(L"关于");
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = ::FindWindowW(nullptr, L"关于 Harlune网络FM播放器")); }, 5000));
  ::PostMessageW(about, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(about); }, 3000));

  Press(L"退出");
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = ::FindWindowW(L"#32770", kTitle)) != nullptr; }, 5000)) << "no question";
  ::SendMessageW(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 3000));
  EXPECT_TRUE(::IsWindowVisible(mainWindow) && !support::LayeredAlpha(mainWindow) && !program->ExitCode())
      << "No keeps the player, not fading out";
}

// A press on the page hands it the keyboard, as in any browser.
TEST_F(RunningProgram, AClickOnThePageGivesItTheFocus) {
  HWND page = VisibleChild(mainWindow, L"AtlAxWin");
  ASSERT_TRUE(page);
  ClickAt({150, 80});
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  EXPECT_TRUE(WaitFor([&] {
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(mainWindow, nullptr), &thread) && thread.hwndFocus &&
           (thread.hwndFocus == page || ::IsChild(page, thread.hwndFocus));
  }, 3000)) << support::DescribeWindow(thread.hwndFocus).className;
}

// A Chinese Windows draws the interface in 宋体 9 pt, which the prefix maps onto a face with its
// widths; the program gets it as its interface font, as does this process for the measuring.
class ChineseWindows : public RunningProgram {
 protected:
  void SetUp() override {
    saved.cbSize = sizeof saved;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0);
    NONCLIENTMETRICSW chinese = saved;
    LOGFONTW& song = chinese.lfMessageFont;
    song = LOGFONTW{};
    song.lfHeight = -12, song.lfCharSet = GB2312_CHARSET;  // 9 pt at 96 dpi
    ::wcscpy(song.lfFaceName, L"宋体");
    ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof chinese, &chinese, SPIF_UPDATEINIFILE);
    font.Reset(::CreateFontIndirectW(&chinese.lfMessageFont));
    ::SelectObject(screen.Get(), font.Get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen.Get(), &metrics);
    lineHeight = metrics.tmHeight;
    RunningProgram::SetUp();
  }
  void TearDown() override {
    RunningProgram::TearDown();
    ::SelectObject(screen.Get(), ::GetStockObject(SYSTEM_FONT));
    ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, SPIF_UPDATEINIFILE);
  }
  // Asked of the control itself: another process's edit keeps its text to itself.
  static std::wstring Text(HWND control) {
    std::wstring text(static_cast<size_t>(::SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        ::SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  // Each button's caption inside its edge, and each line of a text box on a line of its own; a
  // message box's text the system sizes to fit.
  std::wstring Misfits(HWND window) {
    std::wstring misfits;
    for (const support::ChildWindow& child : support::VisibleChildren(window)) {
      std::wstring text = Text(child.window);
      std::erase(text, L'&');  // mnemonic marks are not drawn
      SIZE need{};
      ::GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &need);
      const bool wraps = child.className == L"Edit" && ::SendMessageW(child.window, EM_GETLINECOUNT, 0, 0) !=
                                                           std::count(text.begin(), text.end(), L'\n') + 1;
      if (wraps || (child.className == L"Button" &&
                    need.cx > child.rect.right - child.rect.left - 2 * ::GetSystemMetrics(SM_CXEDGE)))
        misfits += text + L"\n";
    }
    return misfits;
  }
  // The labels between the banner and the text box as the screen shows them: every band of rows
  // with ink is one whole line, not a line and the top of a wrapped next one, nor such a top alone.
  std::wstring CutLines(HWND about) {
    POINT origin{0, 0};
    ::ClientToScreen(about, &origin);
    const RECT notes = support::DescribeWindow(VisibleChild(about, L"Edit")).rect;
    const support::Pixels strip = support::ReadScreen(
        {origin.x, origin.y + support::BitmapResource(SONBREL_EXE, IDB_BANNER).height, notes.right, notes.top});
    std::wstring cut;
    for (int y = 0, band = 0; y <= strip.height; ++y) {
      bool ink = false;
      for (int x = 0; y < strip.height && x < strip.width; ++x) ink |= strip.At(x, y) != ::GetSysColor(COLOR_BTNFACE);
      band = ink ? band + 1 : band;
      if (!ink && band && (band > lineHeight || 2 * band < lineHeight)) cut += std::to_wstring(y - band) + L"\n";
      band = ink ? band : 0;
    }
    return cut;
  }

  NONCLIENTMETRICSW saved{};
  forms::WindowDc screen{nullptr};
  forms::UniqueFont font;
  LONG lineHeight = 0;
};

TEST_F(ChineseWindows, EveryTextFitsItsPlace) {
  ClickAt({290, 140});  // the logo
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = ::FindWindowW(nullptr, L"关于 Harlune网络FM播放器")); }, 5000));
  std::wstring cut;
  EXPECT_TRUE(WaitFor([&] { return (cut = CutLines(about)).empty(); }, 3000)) << "cut lines at rows " << cut;
  EXPECT_EQ(Misfits(about), L"") << "with the notice";
  const HWND notes = VisibleChild(about, L"Edit");
  const std::wstring notice = Text(notes);
  POINT thanks{344, 40};  // the banner's hidden spot
  ::ClientToScreen(about, &thanks);
  support::MovePointerTo(thanks);
  support::DoubleClick();
  ASSERT_TRUE(WaitFor([&] { return Text(notes) != notice; }, 3000));
  EXPECT_EQ(Misfits(about), L"") << "with the thanks note";
  ::PostMessageW(about, WM_CLOSE, 0, 0);

  ClickAt({294, 13});  // exit
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = ::FindWindowW(L"#32770", kTitle)) != nullptr; }, 5000));
  EXPECT_EQ(Misfits(box), L"");
  ::SendMessageW(::GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
}

}  // namespace
