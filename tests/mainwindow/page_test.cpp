// The station page's frame: what the browser control is told, and where its navigations go.
#include <windows.h>

#include <string>

#include "program_fixture.h"
#include "shared/shell_open.h"
#include "support/station_server.h"

namespace sonbrel {
namespace {

const std::wstring kPort = std::to_wstring(SONBREL_TEST_WEB_PORT);

class StationFrame : public testing_support::ProgramWindows {
 protected:
  void SetUp() override {
    ProgramWindows::SetUp();
    ReplaceShellExecuteForTesting([this](HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR, INT show) {
      opened += std::string(operation) + " " + file + " " + std::to_string(show) + "\n";
      return reinterpret_cast<HINSTANCE>(42);
    });
  }
  void TearDown() override {
    ProgramWindows::TearDown();
    ReplaceShellExecuteForTesting(nullptr);
  }
  support::LoopbackStationServer server{SONBREL_STATION_DIR, SONBREL_TEST_WEB_PORT};
  std::string opened;  // what the shell was handed, a line each
};

TEST_F(StationFrame, IsSilentKeepsToTheStationHostAndHandsOtherHostsToTheShell) {
  ASSERT_TRUE(server.Listening()) << "port " << SONBREL_TEST_WEB_PORT << " is taken";
  Form1& main = LoadMainWindow();
  EXPECT_TRUE(main.html.Silent());
  ASSERT_TRUE(server.WaitForRequests("/sonbrel/index3.htm", 1, 10000));

  // Other names of the same server: another host to the frame, so never asked for by it. The
  // longest address the shell takes is 2,083 characters.
  const std::wstring elsewhere[] = {L"http://localhost:" + kPort + L"/sonbrel/stations.json",
                                    L"http://127.0.0.1:" + kPort + L"@localhost:" + kPort + L"/sonbrel/player.js",
                                    L"http://localhost:" + kPort + L"/sonbrel/index.htm?" + std::wstring(3000, L'x')};
  std::string expected;
  for (const std::wstring& address : elsewhere) {
    main.html.Navigate(address);
    if (address.size() <= 2083) expected += "Open " + std::string(address.begin(), address.end()) + " 1\n";
    EXPECT_TRUE(support::WaitFor([&] { return opened == expected; }, 10000)) << opened;
  }
  main.html.Navigate(L"http://127.0.0.1:" + kPort + L"/sonbrel/player.css");
  EXPECT_TRUE(server.WaitForRequests("/sonbrel/player.css", 1, 10000)) << "the station's own page stays in the frame";
  for (const char* path : {"/sonbrel/stations.json", "/sonbrel/player.js", "/sonbrel/index.htm"})
    EXPECT_EQ(server.Requests(path), 0) << path;
  EXPECT_EQ(server.Requests("/sonbrel/index3.htm"), 1) << "loaded once";
  EXPECT_EQ(opened, expected);
}

}  // namespace
}  // namespace sonbrel
