#include "support/station_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/window_probe.h"

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

TEST_F(StationServerTest, LiveStreamsHaveNoLengthAndEndWithTheirListener) {
  // ?drop=1 closes after one second of audio: exactly the file's bytes per second.
  Reply dropped = Get("/live/river?drop=1");
  EXPECT_EQ(dropped.status, "200");
  EXPECT_EQ(dropped.head.find("Content-Length"), std::string::npos);
  EXPECT_EQ(dropped.body.size(), 4000u) << "32 kbit/s";

  SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(server_->Port());
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  std::string request = "GET /live/morning HTTP/1.0\r\n\r\n";
  ::send(listener, request.data(), static_cast<int>(request.size()), 0);
  char buffer[4096];
  EXPECT_GT(::recv(listener, buffer, sizeof buffer, 0), 0);
  EXPECT_EQ(server_->OpenConnections("/live/morning"), 1);
  ::closesocket(listener);
  EXPECT_TRUE(support::WaitFor([&] { return server_->OpenConnections("/live/morning") == 0; }, 3000));
}

TEST(Mp3BytesPerSecond, ReadsTheFirstFrameAfterAnyTag) {
  const struct {
    std::vector<unsigned char> bytes;
    std::optional<int> expected;
  } kCases[] = {
      {{0xFF, 0xFB, 0x90, 0x00}, 16000},                                     // MPEG-1 128 kbit/s
      {{0xFF, 0xF3, 0x40, 0xC4}, 4000},                                      // MPEG-2 32 kbit/s
      {{0xFF, 0xE3, 0x40, 0xC4}, 4000},                                      // MPEG-2.5
      {{'I', 'D', '3', 4, 0, 0, 0, 0, 0, 2, 0, 0, 0xFF, 0xFB, 0x90, 0}, 16000},  // after a tag
      {{'I', 'D', '3', 4, 0, 0, 0, 0, 0, 2, 0xFF, 0xFB, 0x90, 0}, std::nullopt},  // tag hides it
      {{0xFF, 0xFD, 0x90, 0x00}, std::nullopt},                              // layer II
      {{0xFF, 0xFB, 0x00, 0x00}, std::nullopt},                              // free format
      {{0xFF, 0xEB, 0x90, 0x00}, std::nullopt},                              // reserved version
      {{0xFF, 0xFB, 0x90}, std::nullopt},                                    // cut short
  };
  for (const auto& c : kCases) {
    std::vector<char> data(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(support::Mp3BytesPerSecond(data), c.expected) << testing::PrintToString(c.bytes);
  }
}

TEST(LiveJoinPoint, IsTheFrameOfTheMomentInTheLoop) {
  // Ten MPEG-2 32 kbit/s 22050 Hz frames of 104 bytes (4000 bytes a second) after a 12-byte tag.
  std::vector<char> loop = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 2, 0, 0};
  for (int i = 0; i < 10; ++i) {
    const char header[] = {'\xFF', '\xF3', '\x40', '\xC4'};
    loop.insert(loop.end(), header, header + 4);
    loop.resize(loop.size() + 100, static_cast<char>(0xFF));  // sync-like bytes inside the audio
  }
  const struct {
    unsigned long long elapsedMs;
    size_t expected;
  } kCases[] = {  // past the last frame the loop starts again
      {0, 12}, {26, 12 + 104}, {27, 12 + 208}, {234, 12 + 936}, {259, 12}, {260, 12}, {287, 12 + 208}};
  for (const auto& c : kCases) EXPECT_EQ(support::LiveJoinPoint(loop, c.elapsedMs), c.expected) << c.elapsedMs;
  loop[12 + 104] = 0;  // a broken frame: start from the top rather than mid-frame
  EXPECT_EQ(support::LiveJoinPoint(loop, 100), 12u);
}

TEST(NowPlayingJson, PicksTheLineOfTheMomentAndEscapesIt) {
  const std::string tracks = "晨露\t林青禾\r\n\n\"Q\" \\ \x01\n无名\n";
  const struct {
    long long elapsed;
    const char* expected;
  } kCases[] = {
      {0, R"({"title":"晨露","artist":"林青禾"})"},
      {29, R"({"title":"晨露","artist":"林青禾"})"},
      {30, R"({"title":"\"Q\" \\ \u0001","artist":""})"},
      {60, R"({"title":"无名","artist":""})"},
      {90, R"({"title":"晨露","artist":"林青禾"})"},
  };
  for (const auto& c : kCases) EXPECT_EQ(support::NowPlayingJson(tracks, c.elapsed, 30), c.expected) << c.elapsed;
  EXPECT_EQ(support::NowPlayingJson("", 5, 30), R"({"title":"","artist":""})");
}

}  // namespace
