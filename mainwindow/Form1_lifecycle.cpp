// Loading and unloading the main window, the station page in its frame, and the hidden refresh
// button.
#include <windows.h>
#include <shlwapi.h>

#include <cwctype>

#include "mainwindow/Form1.h"
#include "mainwindow/Module1.h"
#include "shared/application.h"
#include "shared/shell_open.h"
#include "shared/web_host.h"

namespace sonbrel {

namespace {

std::wstring StationPageAddress() { return WebAddress(L"/sonbrel/index3.htm"); }

// Lower case; no part is longer than the whole address, however long that is.
std::wstring UrlPart(const std::wstring& url, DWORD part) {
  std::wstring text(url.size() + 1, L'\0');
  DWORD length = static_cast<DWORD>(text.size());
  if (::UrlGetPartW(url.c_str(), text.data(), &length, part, 0) != S_OK) return {};
  text.resize(length);
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// Scheme, host and port, the host as the address names it after any user name in front of it.
std::wstring SiteOf(const std::wstring& url) {
  const std::wstring scheme = UrlPart(url, URL_PART_SCHEME);
  std::wstring port = UrlPart(url, URL_PART_PORT);
  if (port.empty()) port = scheme == L"https" ? L"443" : L"80";
  return scheme + L"://" + UrlPart(url, URL_PART_HOSTNAME) + L":" + port;
}

bool OnStationHost(const std::wstring& url) { return SiteOf(url) == SiteOf(StationPageAddress()); }

// Only web pages go to the browser; the control's own pages (about:, res:) stay where they are.
bool IsWebAddress(const std::wstring& url) {
  const std::wstring scheme = UrlPart(url, URL_PART_SCHEME);
  return scheme == L"http" || scheme == L"https";
}

}  // namespace

void Form1::Form_Load() {
  if (Loading) Loading();
  Module1::MainHwnd = hWnd();
  Module1::HookWindow();
  html.Navigate(StationPageAddress());
  Outline.Round(hWnd(), PixelSize());
  FadeDone = 0;
  // Fade in from transparent, as the splash does, so an early exit fades from what is seen.
  Fade.BeginFadeIn();
}

void Form1::Form_Unload(int16_t& Cancel) {
  Module1::UnhookWindow();
  Outline.LetGo();
  if (FadeDone == 0) {
    // A copy started from now on runs normally instead of activating a window about to vanish.
    forms::App().GiveUpInstanceClaim();
    Fade.BeginFadeOut();
    Cancel = True;
  }
}

void Form1::Command1_Click() { html.Refresh(); }

void Form1::html_BeforeNavigate2(const std::wstring& URL, bool TopLevel, int16_t& Cancel) {
  if (!TopLevel || !IsWebAddress(URL) || OnStationHost(URL)) return;
  Cancel = True;
  OpenInDefaultBrowser(URL);
}

// The frame never opens windows of its own: the station's pages come into it, others go out.
void Form1::html_NewWindow3(const std::wstring& URL, int16_t& Cancel) {
  Cancel = True;
  if (OnStationHost(URL)) {
    html.Navigate(URL);
  } else if (IsWebAddress(URL)) {
    OpenInDefaultBrowser(URL);
  }
}

void Form1::Picture6_DblClick() { Command1.Visible(!Command1.Visible()); }

}  // namespace sonbrel
