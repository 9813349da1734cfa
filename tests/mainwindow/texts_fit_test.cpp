// Every label, button caption and line of the windows' texts fits its box, measured with the
// font the control itself draws with: once with this system's interface font and once with a
// Chinese Windows's (宋体 9 pt), the setting the wording is chosen for.
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "about/Form2.h"
#include "forms/text.h"
#include "program_fixture.h"
#include "resources/resource_ids.h"

namespace sonbrel {
namespace {

using testing_support::ProgramWindows;

std::string Utf8(const std::wstring& text) { return forms::ToCodePage(text, CP_UTF8); }

struct Measured {
  SIZE extent{};
  std::wstring asked, used;  // the face the font names and the family of the font file drawn with
  int latin = 0, chinese = 0;  // widths of "M" and "国"
};

int Width(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The family the font file drawn with names itself, from its name table: the system answers a
// replaced face with the name asked for.
std::wstring FamilyInFontFile(HDC dc) {
  constexpr DWORD kNameTable = 'n' | 'a' << 8 | 'm' << 16 | 'e' << 24;
  const DWORD size = ::GetFontData(dc, kNameTable, 0, nullptr, 0);
  if (size == GDI_ERROR || size < 6) return L"?";
  std::vector<unsigned char> t(size);
  ::GetFontData(dc, kNameTable, 0, t.data(), size);
  const auto u16 = [&t](size_t at) { return at + 2 <= t.size() ? unsigned(t[at] << 8 | t[at + 1]) : 0u; };
  std::wstring family;
  for (unsigned i = 0, count = u16(2); i < count; ++i) {
    const size_t record = 6 + 12 * size_t{i};
    if (u16(record) != 3 || u16(record + 6) != 1) continue;  // Windows platform, family name
    const size_t at = u16(4) + u16(record + 10), length = u16(record + 8);
    std::wstring name;
    for (size_t c = 0; c + 1 < length; c += 2) name += static_cast<wchar_t>(u16(at + c));
    if (family.empty() || u16(record + 4) == 0x409) family = name;  // English when there is one
  }
  return family.empty() ? L"?" : family;
}

Measured Measure(HFONT font, const std::wstring& text) {
  Measured m;
  LOGFONTW logical{};
  ::GetObjectW(font, sizeof logical, &logical);
  m.asked = logical.lfFaceName;
  forms::WindowDc screen(nullptr);
  const HGDIOBJ old = ::SelectObject(screen.Get(), font);
  m.extent.cx = Width(screen.Get(), text);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.Get(), &metrics);
  m.extent.cy = metrics.tmHeight;  // the line, not only the glyphs this text happens to use
  m.latin = Width(screen.Get(), L"M");
  m.chinese = Width(screen.Get(), L"国");
  m.used = FamilyInFontFile(screen.Get());
  ::SelectObject(screen.Get(), old);
  return m;
}

// The fonts of a Windows machine that these windows ask for.
bool WindowsFont(const std::wstring& family) {
  return family == L"SimSun" || family == L"宋体" || family == L"Tahoma" || family == L"Webdings" ||
         family == L"Microsoft YaHei" || family == L"微软雅黑";
}

int ScreenDpi() { return ::GetDeviceCaps(forms::WindowDc(nullptr).Get(), LOGPIXELSY); }

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)); }

SIZE ClientSize(HWND window, int insetX = 0, int insetY = 0) {
  RECT r{};
  ::GetClientRect(window, &r);
  return {r.right - 2 * insetX, r.bottom - 2 * insetY};
}

// A button's caption shows inside its raised edge; mnemonic marks are not drawn.
std::wstring Shown(std::wstring caption) {
  std::erase(caption, L'&');
  return caption;
}

// What the fit test found: every text that does not fit, and the fonts that were used.
struct Findings {
  void Check(const std::wstring& text, HFONT font, SIZE room) {
    if (!font) {
      misfits += "  no font for \"" + Utf8(text) + "\"\n";
      return;
    }
    const Measured m = Measure(font, text);
    fonts[{m.asked, m.used}] = {m.latin, m.chinese};
    ++checked;
    if (m.extent.cx <= room.cx && m.extent.cy <= room.cy) return;
    misfits += "  \"" + Utf8(text) + "\" needs " + std::to_string(m.extent.cx) + "x" +
               std::to_string(m.extent.cy) + " px in " + Utf8(m.used) + ", its box is " +
               std::to_string(room.cx) + "x" + std::to_string(room.cy) + "\n";
  }
  std::map<std::pair<std::wstring, std::wstring>, std::pair<int, int>> fonts;  // asked, used: widths
  std::string misfits;
  int checked = 0;
};

// The exit question is a system box, so it is measured while it is up, then answered No.
Findings* exitBoxFindings = nullptr;

void CALLBACK MeasureExitBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = ::FindWindowW(L"#32770", kApplicationTitle);
  if (!box) return;
  ::KillTimer(nullptr, timer);
  for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring text = support::WindowCaption(child);
    if (text.empty() || !::IsWindowVisible(child)) continue;
    const bool button = support::WindowClass(child) == L"Button";
    const SIZE room = button ? ClientSize(child, ::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE))
                             : ClientSize(child);
    exitBoxFindings->Check(Shown(text), FontOf(child), room);
  }
  ::PostMessageW(box, WM_COMMAND, IDNO, 0);
}

enum class InterfaceFont { ThisSystems, ChineseWindows };

class TextsFit : public ProgramWindows, public testing::WithParamInterface<InterfaceFont> {
 protected:
  void SetUp() override {
    ProgramWindows::SetUp();
    saved_.cbSize = sizeof saved_;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
    if (GetParam() == InterfaceFont::ChineseWindows) {
      // For this process only: nothing is written to the prefix.
      NONCLIENTMETRICSW chinese = saved_;
      LOGFONTW& font = chinese.lfMessageFont;
      font = LOGFONTW{};
      font.lfHeight = -forms::RoundHalfEven(9 * ScreenDpi() / 72.0);
      font.lfWeight = FW_NORMAL;
      font.lfCharSet = GB2312_CHARSET;
      ::wcscpy(font.lfFaceName, L"宋体");
      ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof chinese, &chinese, 0);
    }
  }
  void TearDown() override {
    ProgramWindows::TearDown();
    ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
  }

  void CheckControls(const forms::Form& form) {
    for (forms::Control* control : form.Controls()) {
      const SIZE box{forms::TwipsToPixelsX(control->Width()), forms::TwipsToPixelsY(control->Height())};
      if (auto* label = dynamic_cast<forms::Label*>(control)) found.Check(label->Caption(), label->hFont(), box);
      if (auto* button = dynamic_cast<forms::CommandButton*>(control)) {
        const HWND w = button->hWnd();
        found.Check(Shown(button->Caption()), FontOf(w),
                    ClientSize(w, ::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE)));
      }
    }
  }

  // Each line of the texts whose wording is ours, on one line of the about window's text box.
  // The version history's newest entry is given as it is, so it may wrap.
  void CheckNotes(const forms::TextBox& box) {
    RECT format{};
    ::SendMessageW(box.hWnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const SIZE room{format.right - format.left, format.bottom - format.top};
    const std::wstring history = TextResource(IDT_HISTORY);
    for (const std::wstring& note : {TextResource(IDT_CREDITS), TextResource(IDT_THANKS),
                                     history.substr(history.find(L"\r\n\r\n") + 4)}) {
      const std::wstring text = note + L"\r\n";
      for (size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2)
        found.Check(text.substr(at, end - at), FontOf(box.hWnd()), room);
    }
  }

  void CheckExitQuestion() {
    exitBoxFindings = &found;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, MeasureExitBox);
    Main().Picture13_Click();
    ::KillTimer(nullptr, timer);
    exitBoxFindings = nullptr;
  }

  void PrintFonts() const {
    NONCLIENTMETRICSW now{};
    now.cbSize = sizeof now;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof now, &now, 0);
    const std::string given = Utf8(now.lfMessageFont.lfFaceName);
    if (GetParam() == InterfaceFont::ChineseWindows)
      std::printf("%d texts measured with a Chinese Windows's interface font, 宋体 9 pt (here named %s):\n",
                  found.checked, given.c_str());
    else
      std::printf("%d texts measured with this system's interface font, %s:\n", found.checked, given.c_str());
    for (const auto& [faces, widths] : found.fonts)
      std::printf("  %s drawn in %s (%s; M %d px, 国 %d px)\n", Utf8(faces.first).c_str(),
                  Utf8(faces.second).c_str(),
                  WindowsFont(faces.second) ? "Windows's own" : "a substitute, Windows's is not here", widths.first,
                  widths.second);
  }

  NONCLIENTMETRICSW saved_{};
  Findings found;
};

TEST_P(TextsFit, EveryLabelCaptionAndLineOfEveryWindow) {
  Form1& main = LoadMainWindow();
  Form2& about = forms::Forms::Get<Form2>();
  about.Show();
  for (const forms::Form* form : std::initializer_list<const forms::Form*>{&Splash(), &main, &about})
    CheckControls(*form);
  CheckNotes(about.Text1);
  const int windowTexts = found.checked;
  CheckExitQuestion();
  PrintFonts();
  EXPECT_GT(found.checked, windowTexts + 2) << "the exit question and its two buttons were measured";
  EXPECT_EQ(found.misfits, "") << "texts cut off by their boxes";
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextsFit, testing::Values(InterfaceFont::ThisSystems, InterfaceFont::ChineseWindows),
                         [](const auto& info) {
                           return info.param == InterfaceFont::ChineseWindows ? "ChineseWindows" : "ThisSystems";
                         });

}  // namespace
}  // namespace sonbrel
