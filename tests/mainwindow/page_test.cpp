// The station page's frame: what the browser control is told, and where its navigations go.
#include <windows.h>

#include <string>

#include "program_fixture.h"
#include "support/station_server.h"

namespace sonbrel {
namespace {

const std::wstring kPort = std::to_wstring(SONBREL_TEST_WEB_PORT);
constexpr wchar_t kBrowserCommand[] = L"http\\shell\\open\\command";

// What the shell starts for a web address, pointed at a recorder for the test's length: each
// address handed to the default browser becomes a line of a file.
class BrowserRecorder {
 public:
  BrowserRecorder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    file_ = std::wstring(folder) + L"sonbrel-browser-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    ::DeleteFileW(file_.c_str());
    wchar_t saved[1024] = {};
    DWORD size = sizeof saved;
    hadCommand_ = ::RegGetValueW(HKEY_CLASSES_ROOT, kBrowserCommand, nullptr, RRF_RT_REG_SZ, nullptr, saved, &size) ==
                  ERROR_SUCCESS;
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
    forms::UniqueKernelHandle in(::CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
    char text[16384];
    DWORD read = 0;
    if (in.Get() == INVALID_HANDLE_VALUE || !::ReadFile(in.Get(), text, sizeof text, &read, nullptr)) read = 0;
    if (in.Get() == INVALID_HANDLE_VALUE) in.Release();
    return std::string(text, read);
  }

 private:
  void Set(const std::wstring& command) {
    ::RegSetKeyValueW(HKEY_CLASSES_ROOT, kBrowserCommand, nullptr, REG_SZ, command.c_str(),
                      static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  }
  std::wstring file_, saved_;
  bool hadCommand_ = false;
};

class StationFrame : public testing_support::ProgramWindows {
 protected:
  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_TEST_WEB_PORT};
  BrowserRecorder browser;
};

TEST_F(StationFrame, IsSilentKeepsToTheStationHostAndHandsOtherHostsToTheDefaultBrowser) {
  ASSERT_TRUE(server.Listening()) << "port " << SONBREL_TEST_WEB_PORT << " is taken";
  Form1& main = LoadMainWindow();
  EXPECT_TRUE(main.html.Silent());
  ASSERT_TRUE(server.WaitForRequests("/sonbrel/index3.htm", 1, 10000));

  // Other names of the same server: another host to the frame, so never asked for by it.
  const std::wstring elsewhere[] = {L"http://localhost:" + kPort + L"/sonbrel/stations.json",
                                    L"http://127.0.0.1:" + kPort + L"@localhost:" + kPort + L"/sonbrel/player.js",
                                    L"http://localhost:" + kPort + L"/sonbrel/index.htm?" + std::wstring(3000, L'x')};
  std::string expected;
  for (const std::wstring& address : elsewhere) {
    main.html.Navigate(address);
    if (address.size() <= 2083) expected += std::string(address.begin(), address.end()) + "\r\n";
    EXPECT_TRUE(support::WaitFor([&] { return browser.Lines() == expected; }, 10000)) << browser.Lines();
  }
  main.html.Navigate(L"http://127.0.0.1:" + kPort + L"/sonbrel/player.css");
  EXPECT_TRUE(server.WaitForRequests("/sonbrel/player.css", 1, 10000)) << "the station's own page stays in the frame";
  EXPECT_EQ(server.Requests("/sonbrel/stations.json") + server.Requests("/sonbrel/player.js") +
                server.Requests("/sonbrel/index.htm"),
            0);
  EXPECT_EQ(server.Requests("/sonbrel/index3.htm"), 1);
  EXPECT_EQ(browser.Lines(), expected);
}

}  // namespace
}  // namespace sonbrel
