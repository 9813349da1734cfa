#include "support/station_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Reply {
  std::string status, head, body;
};

// A bare client, so what is tested is the server and not a library's idea of HTTP.
Reply Fetch(uint16_t port, const std::string& requestLine) {
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
  size_t split = all.find("\r\n\r\n");
  if (split == std::string::npos || all.size() < 12) return {};
  return {all.substr(9, 3), all.substr(0, split + 2), all.substr(split + 4)};
}

// Serves the bundled station folder, whose parent holds the project's own files.
class StationServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
    server_ = std::make_unique<support::LoopbackStationServer>(SONBREL_STATION_DIR);
    ASSERT_TRUE(server_->Listening());
  }
  void TearDown() override {
    server_.reset();
    ::WSACleanup();
  }
  Reply Get(const std::string& path) { return Fetch(server_->Port(), "GET " + path + " HTTP/1.0"); }

  std::unique_ptr<support::LoopbackStationServer> server_;
};

TEST_F(StationServerTest, ServesTheBundledPageWithTheCompatibilityHeader) {
  Reply reply = Get("/sonbrel/index3.htm");
  EXPECT_EQ(reply.status, "200");
  EXPECT_NE(reply.head.find("\r\nX-UA-Compatible: IE=edge\r\n"), std::string::npos);
  EXPECT_NE(reply.body.find("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"), std::string::npos);
}

TEST_F(StationServerTest, CountsOneGetPerRequestPerPathWithoutTheQuery) {
  Get("/sonbrel/index3.htm");
  Get("/sonbrel/index3.htm?station=2");
  Get("/sonbrel/player.css");
  Fetch(server_->Port(), "HEAD /sonbrel/index3.htm HTTP/1.0");
  EXPECT_EQ(server_->Requests("/sonbrel/index3.htm"), 2);
  EXPECT_EQ(server_->Requests("/sonbrel/player.css"), 1);
  EXPECT_EQ(server_->Requests("/sonbrel/player.js"), 0);
}

TEST_F(StationServerTest, AnswersMissingFilesAndPathsLeavingTheRootWith404) {
  for (const char* path : {"/sonbrel/missing.htm", "/sonbrel/", "/../CMakeLists.txt", "/sonbrel/../../CMakeLists.txt",
                           "/%2e%2e/CMakeLists.txt", "/sonbrel%5c..%5c..%5cCMakeLists.txt", "/..\\CMakeLists.txt",
                           "/Z:/etc/hostname", "/sonbrel/index3.htm%00.png"}) {
    Reply reply = Get(path);
    EXPECT_EQ(reply.status, "404") << path;
    EXPECT_EQ(reply.body.find("cmake_minimum_required"), std::string::npos) << path;
  }
}

}  // namespace
