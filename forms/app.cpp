#include "forms/app.h"

#include <cmath>
#include <utility>
#include <vector>

#include "forms/runtime_detail.h"

namespace forms {
namespace {

constexpr float kTwipsPerInch = 1440.0f;
constexpr wchar_t kApplicationWindowClass[] = L"FormsApplicationWindow";

std::wstring ThisExecutablePath() {
  std::vector<wchar_t> path(MAX_PATH);
  while (::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  return path.data();
}

// The file name alone: a copy of the program elsewhere on disk is the same program.
std::wstring InstanceMarkerName() {
  std::wstring fileName = ThisExecutablePath();
  fileName.erase(0, fileName.find_last_of(L"\\/") + 1);
  // File names are compared without case on Windows, so are the copies of the program.
  ::CharLowerBuffW(fileName.data(), static_cast<DWORD>(fileName.size()));
  return L"Local\\forms.instance." + fileName;
}

ATOM ApplicationWindowClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = kApplicationWindowClass;
    return ::RegisterClassExW(&windowClass);
  }();
  return atom;
}

struct FileVersion {
  int major = 0, minor = 0, revision = 0;
};

FileVersion ReadFileVersion() {
  FileVersion version;
  const std::wstring path = ThisExecutablePath();
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return version;
  std::vector<BYTE> block(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return version;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixedSize < sizeof *fixed) {
    return version;
  }
  version.major = HIWORD(fixed->dwFileVersionMS);
  version.minor = LOWORD(fixed->dwFileVersionMS);
  version.revision = LOWORD(fixed->dwFileVersionLS);
  return version;
}

const FileVersion& ThisFileVersion() {
  static const FileVersion version = ReadFileVersion();
  return version;
}

std::function<void()>& EndReplacement() {
  static std::function<void()> replacement;
  return replacement;
}

MsgBoxHandler& MsgBoxReplacement() {
  static MsgBoxHandler replacement;
  return replacement;
}

// Lower is better: an exact title before a prefix, then a visible window before a hidden one.
enum class MatchRank { ExactVisible, ExactHidden, PrefixVisible, PrefixHidden, None };

bool SameIgnoringCase(const wchar_t* a, const wchar_t* b, int length) {
  return ::CompareStringOrdinal(a, length, b, length, TRUE) == CSTR_EQUAL;
}

MatchRank RankWindow(HWND window, const std::wstring& title) {
  const int length = ::GetWindowTextLengthW(window);
  const int wanted = static_cast<int>(title.size());
  if (length < wanted) return MatchRank::None;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  if (static_cast<int>(text.size()) < wanted ||
      !SameIgnoringCase(text.c_str(), title.c_str(), wanted)) {
    return MatchRank::None;
  }
  const bool exact = static_cast<int>(text.size()) == wanted;
  const bool visible = ::IsWindowVisible(window) != FALSE;
  if (exact) return visible ? MatchRank::ExactVisible : MatchRank::ExactHidden;
  return visible ? MatchRank::PrefixVisible : MatchRank::PrefixHidden;
}

struct BestMatch {
  const std::wstring& title;
  HWND window = nullptr;
  MatchRank rank = MatchRank::None;
};

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM state) {
  auto& best = *reinterpret_cast<BestMatch*>(state);
  const MatchRank rank = RankWindow(window, best.title);
  // Enumeration runs from the top of the z-order, so the first of equals is the frontmost.
  if (rank < best.rank) {
    best.window = window;
    best.rank = rank;
  }
  return best.rank == MatchRank::ExactVisible ? FALSE : TRUE;
}

}  // namespace

bool Application::PrevInstance() {
  if (!prevInstanceKnown_) {
    // Held for the life of the process: later copies see it even after we looked.
    HANDLE marker = ::CreateMutexW(nullptr, FALSE, InstanceMarkerName().c_str());
    const DWORD error = ::GetLastError();
    instanceMarker_.Reset(marker);
    // Access denied means the object exists and belongs to a copy we may not open.
    prevInstance_ = marker ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
    prevInstanceKnown_ = true;
  }
  return prevInstance_;
}

void Application::Title(std::wstring title) {
  title_ = std::move(title);
  if (window_) {
    ::SetWindowTextW(window_.Get(), title_.c_str());
    return;
  }
  // Never shown: it is there so that another copy can find this one by its title.
  window_.Reset(::CreateWindowExW(0, MAKEINTATOM(ApplicationWindowClass()), title_.c_str(), WS_POPUP, 0, 0, 0,
                                  0, nullptr, nullptr, ThisModule(), nullptr));
}

int Application::Major() const { return ThisFileVersion().major; }
int Application::Minor() const { return ThisFileVersion().minor; }
int Application::Revision() const { return ThisFileVersion().revision; }

Application& App() {
  static Application application;
  return application;
}

namespace Screen {
float TwipsPerPixelX() { return kTwipsPerInch / static_cast<float>(ScreenDpi(LOGPIXELSX)); }
float TwipsPerPixelY() { return kTwipsPerInch / static_cast<float>(ScreenDpi(LOGPIXELSY)); }
}  // namespace Screen

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

int TwipsToPixelsX(float twips) {
  return RoundHalfEven(static_cast<double>(twips) / Screen::TwipsPerPixelX());
}
int TwipsToPixelsY(float twips) {
  return RoundHalfEven(static_cast<double>(twips) / Screen::TwipsPerPixelY());
}
float PixelsToTwipsX(int pixels) { return static_cast<float>(pixels) * Screen::TwipsPerPixelX(); }
float PixelsToTwipsY(int pixels) { return static_cast<float>(pixels) * Screen::TwipsPerPixelY(); }

bool AppActivate(const std::wstring& title) {
  // Every window begins with the empty title; activating an arbitrary one helps nobody.
  if (title.empty()) return false;
  BestMatch best{title};
  ::EnumWindows(ConsiderWindow, reinterpret_cast<LPARAM>(&best));
  if (!best.window) return false;
  if (best.rank == MatchRank::ExactVisible || best.rank == MatchRank::PrefixVisible) {
    if (::IsIconic(best.window)) ::ShowWindow(best.window, SW_RESTORE);
  }
  ::SetForegroundWindow(best.window);
  return true;
}

void End() {
  if (EndReplacement()) {
    EndReplacement()();
    return;
  }
  ::ExitProcess(0);
}

void ReplaceEndForTesting(std::function<void()> onEnd) { EndReplacement() = std::move(onEnd); }

int MsgBox(const std::wstring& prompt, unsigned style, const std::wstring& title) {
  const std::wstring& caption = title.empty() ? App().Title() : title;
  if (MsgBoxReplacement()) return MsgBoxReplacement()(prompt, style, caption);
  return ::MessageBoxW(nullptr, prompt.c_str(), caption.c_str(), style | MB_TASKMODAL);
}

void ReplaceMsgBoxForTesting(MsgBoxHandler handler) { MsgBoxReplacement() = std::move(handler); }

int RunMessageLoop() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (OfferToControls(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace forms
