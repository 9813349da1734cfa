// What the other suites lean on unseen: a leak count that counts, a server that keeps to its root.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/handles.h"
#include "support/gdi_objects.h"
#include "support/station_server.h"

namespace {

TEST(GdiObjects, CountsRegionsCreatedAndDeleted) {
  constexpr int kRegions = 150;
  constexpr auto kRegion = support::GdiObjectType::Region;
  const auto before = support::CountGdiObjects(::GetCurrentProcess());
  std::vector<forms::UniqueRegion> regions;
  for (int i = 0; i < kRegions; ++i) regions.emplace_back(::CreateRectRgn(0, 0, i + 1, 1));
  const auto held = support::CountGdiObjects(::GetCurrentProcess());
  regions.clear();
  const auto after = support::CountGdiObjects(::GetCurrentProcess());
  ASSERT_TRUE(before && held && after);
  EXPECT_EQ(held->Of(kRegion) - before->Of(kRegion), kRegions);
  EXPECT_EQ(held->total - before->total, kRegions);
  EXPECT_EQ(after->total, before->total);
}

// A bare client, so what is tested is the server and not a library's idea of HTTP. The status.
std::string Fetch(uint16_t port, const std::string& requestLine) {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  std::string all, request = requestLine + "\r\nHost: 127.0.0.1\r\n\r\n";
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    ::send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[4096];
    for (int got; (got = ::recv(s, buffer, sizeof buffer, 0)) > 0;) all.append(buffer, static_cast<size_t>(got));
  }
  ::closesocket(s);
  return all.size() >= 12 ? all.substr(9, 3) : all;
}

// The served folder's parent holds the project's own files: none of them may come out.
TEST(StationServer, KeepsToItsRootAndCountsGetsPerPathWithoutTheQuery) {
  WSADATA data;
  ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
  {
    support::LoopbackStationServer server(SONBREL_STATION_DIR);
    ASSERT_TRUE(server.Listening());
    const auto get = [&](const std::string& path) { return Fetch(server.Port(), "GET " + path + " HTTP/1.0"); };
    for (const char* path : {"/sonbrel/missing.htm", "/sonbrel/", "/../CMakeLists.txt", "/sonbrel/../../CMakeLists.txt",
                             "/%2e%2e/CMakeLists.txt", "/sonbrel%5c..%5c..%5cCMakeLists.txt", "/..\\CMakeLists.txt",
                             "/Z:/etc/hostname", "/sonbrel/index3.htm%00.png"})
      EXPECT_EQ(get(path), "404") << path;
    EXPECT_EQ(get("/sonbrel/index3.htm"), "200");
    get("/sonbrel/index3.htm?station=2");
    Fetch(server.Port(), "HEAD /sonbrel/index3.htm HTTP/1.0");
    EXPECT_EQ(server.Requests("/sonbrel/index3.htm"), 2);
    EXPECT_EQ(server.Requests("/../CMakeLists.txt"), 1);
    EXPECT_EQ(server.Requests("/sonbrel/player.js"), 0);
  }
  ::WSACleanup();
}

}  // namespace
