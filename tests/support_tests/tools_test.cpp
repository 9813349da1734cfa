// What the other suites lean on unseen: a server that keeps to its root and within its bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/station_server.h"
#include "support/window_probe.h"

namespace {

SOCKET Connect(uint16_t port) {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

// The status a bare client gets, so what is tested is the server and not a library's idea of HTTP.
std::string Fetch(uint16_t port, const std::string& requestLine) {
  SOCKET s = Connect(port);
  std::string all, request = requestLine + "\r\nHost: 127.0.0.1\r\n\r\n";
  if (s != INVALID_SOCKET) {
    ::send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[4096];
    for (int got; (got = ::recv(s, buffer, sizeof buffer, 0)) > 0;) all.append(buffer, static_cast<size_t>(got));
    ::closesocket(s);
  }
  return all.size() >= 12 ? all.substr(9, 3) : all;
}

class StationServer : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data_), 0); }
  void TearDown() override { ::WSACleanup(); }
  std::string Get(const support::LoopbackStationServer& server, const std::string& path) {
    return Fetch(server.Port(), "GET " + path + " HTTP/1.0");
  }

 private:
  WSADATA data_;
};

// The served folder's parent holds the project's own files: none of them may come out, nor a
// device that every folder of Windows has.
TEST_F(StationServer, KeepsToItsRootAndCountsGetsPerPathWithoutTheQuery) {
  support::LoopbackStationServer server(SONBREL_STATION_DIR);
  ASSERT_TRUE(server.Listening());
  for (const std::string& path : {"/sonbrel/missing.htm", "/sonbrel/", "/../CMakeLists.txt", "/%2e%2e/CMakeLists.txt",
                                  "/sonbrel%5c..%5c..%5cCMakeLists.txt", "/Z:/etc/hostname", "/sonbrel/index3.htm%00.png",
                                  "/NUL", "/sonbrel/nul.htm", "/sonbrel/com1.txt"})
    EXPECT_EQ(Get(server, path), "404") << path;
  EXPECT_EQ(Get(server, "/sonbrel/index3.htm"), "200");
  Get(server, "/sonbrel/index3.htm?station=2");
  Fetch(server.Port(), "HEAD /sonbrel/index3.htm HTTP/1.0");
  EXPECT_EQ(server.Requests("/sonbrel/index3.htm"), 2);
  EXPECT_EQ(server.Requests("/../CMakeLists.txt"), 1);
  // A client asking for ever new paths once grew the counts without end.
  for (int i = 0; i < 200; ++i) Get(server, "/unique/" + std::to_string(i));
  EXPECT_EQ(server.CountedPaths(), support::LoopbackStationServer::kMaxCountedPaths);
  Get(server, "/sonbrel/index3.htm");
  EXPECT_EQ(server.Requests("/sonbrel/index3.htm"), 3);
}

// Clients that take every slot and send a byte now and then are dropped when their time is up,
// however they trickle; then the page is served again.
TEST_F(StationServer, ClientsThatTrickleCannotHoldEverySlot) {
  support::LoopbackStationServer server(SONBREL_STATION_DIR);
  ASSERT_TRUE(server.Listening());
  std::vector<SOCKET> slow;
  for (int i = 0; i < support::LoopbackStationServer::kMaxClients; ++i) slow.push_back(Connect(server.Port()));
  ASSERT_TRUE(support::WaitFor([&] { return Get(server, "/sonbrel/index3.htm") == "503"; }, 2000));
  EXPECT_TRUE(support::WaitFor([&] {
    for (SOCKET s : slow) ::send(s, "G", 1, 0);
    return Get(server, "/sonbrel/index3.htm") == "200";
  }, 3 * support::LoopbackStationServer::kRequestTimeoutMs));
  for (SOCKET s : slow) ::closesocket(s);
}

}  // namespace
