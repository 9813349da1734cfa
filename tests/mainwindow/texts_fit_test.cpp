// Every label, button caption and line of the windows' texts fits its box, measured with the
// font the control draws with: this system's interface font and a Chinese Windows's (宋体 9 pt).
#include <cstdio>
#include <cwchar>
#include <set>
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

// The family named in the font file drawn with: the system answers a replaced face with the one asked for.
std::string FamilyInFontFile(HDC dc) {
  constexpr DWORD kNameTable = 'n' | 'a' << 8 | 'm' << 16 | 'e' << 24;
  const DWORD size = ::GetFontData(dc, kNameTable, 0, nullptr, 0);
  std::vector<unsigned char> t(size == GDI_ERROR ? 0 : size);
  ::GetFontData(dc, kNameTable, 0, t.data(), size);
  const auto u16 = [&t](size_t at) { return at + 2 <= t.size() ? unsigned(t[at] << 8 | t[at + 1]) : 0u; };
  for (unsigned i = 0; i < u16(2); ++i) {
    const size_t record = 6 + 12 * size_t{i}, at = u16(4) + u16(record + 10);
    if (u16(record) != 3 || u16(record + 6) != 1) continue;  // Windows platform, family name
    std::wstring name;
    for (size_t c = 0; c + 1 < u16(record + 8); c += 2) name += static_cast<wchar_t>(u16(at + c));
    return Utf8(name);
  }
  return "?";
}

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)); }

// Buttons draw their caption inside the raised edge.
SIZE ClientSize(HWND window, bool button) {
  RECT r{};
  ::GetClientRect(window, &r);
  const int x = button ? ::GetSystemMetrics(SM_CXEDGE) : 0, y = button ? ::GetSystemMetrics(SM_CYEDGE) : 0;
  return {r.right - 2 * x, r.bottom - 2 * y};
}

struct Findings {
  void Check(std::wstring text, HFONT font, SIZE room) {
    std::erase(text, L'&');  // mnemonic marks are not drawn
    if (!font) {
      misfits += "  no font for \"" + Utf8(text) + "\"\n";
      return;
    }
    forms::WindowDc screen(nullptr);
    const HGDIOBJ old = ::SelectObject(screen.Get(), font);
    SIZE need{};
    ::GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &need);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen.Get(), &metrics);
    need.cy = metrics.tmHeight;  // the line, not only the glyphs this text happens to use
    const std::string face = FamilyInFontFile(screen.Get());
    ::SelectObject(screen.Get(), old);
    faces.insert(face);
    ++checked;
    if (need.cx <= room.cx && need.cy <= room.cy) return;
    misfits += "  \"" + Utf8(text) + "\" needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) +
               " px in " + face + ", its box is " + std::to_string(room.cx) + "x" + std::to_string(room.cy) + "\n";
  }
  std::set<std::string> faces;
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
    if (!text.empty() && ::IsWindowVisible(child))
      exitBoxFindings->Check(text, FontOf(child), ClientSize(child, support::WindowClass(child) == L"Button"));
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
      NONCLIENTMETRICSW chinese = saved_;
      LOGFONTW& font = chinese.lfMessageFont;
      font = LOGFONTW{};
      font.lfHeight = -forms::RoundHalfEven(9 * ::GetDeviceCaps(forms::WindowDc(nullptr).Get(), LOGPIXELSY) / 72.0);
      font.lfWeight = FW_NORMAL;
      font.lfCharSet = GB2312_CHARSET;
      ::wcscpy(font.lfFaceName, L"宋体");
      ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof chinese, &chinese, 0);  // this process only
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
      if (auto* button = dynamic_cast<forms::CommandButton*>(control))
        found.Check(button->Caption(), FontOf(button->hWnd()), ClientSize(button->hWnd(), true));
    }
  }

  // Each line of our own texts on one line of the about window's text box; the version
  // history's newest entry is given as it is, so it may wrap.
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
  exitBoxFindings = &found;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, MeasureExitBox);
  main.Picture13_Click();
  ::KillTimer(nullptr, timer);
  exitBoxFindings = nullptr;
  std::printf("%d texts measured, drawn in:", found.checked);
  for (const std::string& face : found.faces) std::printf(" %s;", face.c_str());
  std::printf("\n");
  EXPECT_GT(found.checked, windowTexts + 2) << "the exit question and its two buttons were measured";
  EXPECT_EQ(found.misfits, "") << "texts cut off by their boxes";
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextsFit, testing::Values(InterfaceFont::ThisSystems, InterfaceFont::ChineseWindows),
                         [](const auto& info) {
                           return info.param == InterfaceFont::ChineseWindows ? "ChineseWindows" : "ThisSystems";
                         });

}  // namespace
}  // namespace sonbrel
