#include "support/station_server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

struct Reply {
  std::string status;  // e.g. "200"
  std::string head;
  std::string body;
};

// A bare client, so what is tested is the server and not a library's idea of HTTP.
Reply Fetch(uint16_t port, const std::string& requestLine) {
  Reply reply;
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::closesocket(s);
    return reply;
  }
  std::string request = requestLine + "\r\nHost: 127.0.0.1\r\nUser-Agent: test\r\n\r\n";
  ::send(s, request.data(), static_cast<int>(request.size()), 0);
  std::string all;
  char buffer[4096];
  int got;
  while ((got = ::recv(s, buffer, sizeof buffer, 0)) > 0) all.append(buffer, static_cast<size_t>(got));
  ::closesocket(s);
  size_t split = all.find("\r\n\r\n");
  if (split == std::string::npos || all.size() < 12) return reply;
  reply.status = all.substr(9, 3);
  reply.head = all.substr(0, split + 2);
  reply.body = all.substr(split + 4);
  return reply;
}

class StationServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
    base_ = fs::temp_directory_path() / ("station-test-" + std::to_string(::GetCurrentProcessId()));
    fs::create_directories(base_ / "root" / "sonbrel");
    Write(base_ / "root" / "sonbrel" / "index3.htm", "<p>page</p>");
    Write(base_ / "root" / "sonbrel" / "style.css", "p{}");
    Write(base_ / "secret.txt", "outside");
    server_ = std::make_unique<support::LoopbackStationServer>((base_ / "root").wstring());
    ASSERT_TRUE(server_->Listening());
  }
  void TearDown() override {
    server_.reset();
    fs::remove_all(base_);
    ::WSACleanup();
  }
  static void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

  fs::path base_;
  std::unique_ptr<support::LoopbackStationServer> server_;
};

TEST_F(StationServerTest, ServesAFileWithItsTypeAndTheCompatibilityHeader) {
  Reply reply = Fetch(server_->Port(), "GET /sonbrel/index3.htm HTTP/1.1");
  EXPECT_EQ(reply.status, "200");
  EXPECT_EQ(reply.body, "<p>page</p>");
  EXPECT_NE(reply.head.find("Content-Type: text/html; charset=utf-8\r\n"), std::string::npos);
  EXPECT_NE(reply.head.find("Content-Length: 11\r\n"), std::string::npos);
  EXPECT_NE(reply.head.find("X-UA-Compatible: IE=edge\r\n"), std::string::npos);
}

TEST_F(StationServerTest, CountsEachGetPerPathWithoutTheQuery) {
  Fetch(server_->Port(), "GET /sonbrel/index3.htm HTTP/1.0");
  Fetch(server_->Port(), "GET /sonbrel/index3.htm?station=2 HTTP/1.0");
  Fetch(server_->Port(), "GET /sonbrel/style.css HTTP/1.0");
  Fetch(server_->Port(), "HEAD /sonbrel/index3.htm HTTP/1.0");
  EXPECT_EQ(server_->Requests("/sonbrel/index3.htm"), 2);
  EXPECT_EQ(server_->Requests("/sonbrel/style.css"), 1);
  EXPECT_EQ(server_->Requests("/sonbrel/other.htm"), 0);
}

TEST_F(StationServerTest, AnswersMissingFilesAndFoldersWith404ButCountsThem) {
  EXPECT_EQ(Fetch(server_->Port(), "GET /sonbrel/missing.htm HTTP/1.0").status, "404");
  EXPECT_EQ(Fetch(server_->Port(), "GET /sonbrel/ HTTP/1.0").status, "404");
  EXPECT_EQ(Fetch(server_->Port(), "GET /sonbrel HTTP/1.0").status, "404");
  EXPECT_EQ(server_->Requests("/sonbrel/missing.htm"), 1);
}

TEST_F(StationServerTest, NeverServesAFileOutsideItsRoot) {
  for (const char* path : {"/../secret.txt", "/sonbrel/../../secret.txt", "/%2e%2e/secret.txt",
                           "/sonbrel%5c..%5c..%5csecret.txt", "/..\\secret.txt", "/Z:/etc/hostname",
                           "/sonbrel/index3.htm%00.png"}) {
    Reply reply = Fetch(server_->Port(), std::string("GET ") + path + " HTTP/1.0");
    EXPECT_EQ(reply.status, "404") << path;
    EXPECT_EQ(reply.body.find("outside"), std::string::npos) << path;
  }
}

TEST_F(StationServerTest, RefusesOtherMethodsAndGarbage) {
  EXPECT_EQ(Fetch(server_->Port(), "POST /sonbrel/index3.htm HTTP/1.0").status, "405");
  EXPECT_EQ(Fetch(server_->Port(), "nonsense").status, "400");
  EXPECT_EQ(server_->Requests("/sonbrel/index3.htm"), 0);
}

TEST_F(StationServerTest, WaitForRequestsWakesOnARequestAndTimesOutWithoutOne) {
  std::thread client([port = server_->Port()] {
    ::Sleep(100);
    Fetch(port, "GET /sonbrel/index3.htm HTTP/1.0");
  });
  EXPECT_TRUE(server_->WaitForRequests("/sonbrel/index3.htm", 1, 5000));
  client.join();

  ULONGLONG start = ::GetTickCount64();
  EXPECT_FALSE(server_->WaitForRequests("/sonbrel/index3.htm", 2, 200));
  EXPECT_GE(::GetTickCount64() - start, 190u);
}

TEST_F(StationServerTest, ASecondServerOnATakenPortIsNotListening) {
  support::LoopbackStationServer second((base_ / "root").wstring(), server_->Port());
  EXPECT_FALSE(second.Listening());
}

TEST(StationPage, TheBundledPageIsServedWithTheCompatibilityMeta) {
  WSADATA data;
  ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
  {
    support::LoopbackStationServer server(SONBREL_STATION_DIR);
    ASSERT_TRUE(server.Listening());
    Reply reply = Fetch(server.Port(), "GET /sonbrel/index3.htm HTTP/1.0");
    EXPECT_EQ(reply.status, "200");
    EXPECT_NE(reply.body.find("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"), std::string::npos);
  }
  ::WSACleanup();
}

TEST(ContentType, FollowsTheExtensionWhateverItsCase) {
  const struct {
    const wchar_t* name;
    const char* type;
  } cases[] = {
      {L"a.htm", "text/html; charset=utf-8"},
      {L"a.HTML", "text/html; charset=utf-8"},
      {L"a.css", "text/css; charset=utf-8"},
      {L"a.js", "application/javascript; charset=utf-8"},
      {L"a.mp3", "audio/mpeg"},
      {L"a.ogg", "audio/ogg"},
      {L"a.png", "image/png"},
      {L"a.gif", "image/gif"},
      {L"a.txt", "application/octet-stream"},
      {L"dir.htm\\noextension", "application/octet-stream"},
  };
  for (const auto& c : cases) EXPECT_STREQ(support::ContentTypeFor(c.name), c.type) << c.name;
}

}  // namespace
