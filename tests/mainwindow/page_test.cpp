// The station page's frame: what the browser control is told, and where its navigations go.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "program_fixture.h"
#include "support/station_server.h"

namespace sonbrel {
namespace {

const std::wstring kPort = std::to_wstring(SONBREL_TEST_WEB_PORT);
constexpr wchar_t kBrowserCommand[] = L"http\\shell\\open\\command";

// The default browser, for the test's length: each address it is handed becomes a line of a file.
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
    std::ifstream in(std::filesystem::path(file_), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
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
