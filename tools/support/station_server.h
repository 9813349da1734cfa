// What the program tests and the start-up timing serve the program's web host with: the station
// page's folder on the loopback interface, in the test's own process, counting what the program
// asks for. A test fixture with bounded memory and time per client, not a web server: the radio
// service is Icecast (tools/radio/).
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "forms/handles.h"

namespace support {

// Serves the files below `root` over HTTP/1.0 on 127.0.0.1, each connection on a thread of its
// own, and counts the GET requests per path (the path without the query string).
class LoopbackStationServer {
 public:
  static constexpr size_t kMaxCountedPaths = 64;  // later new paths are answered, not counted
  static constexpr int kMaxClients = 16;          // connections answered at once; more get 503
  static constexpr DWORD kRequestTimeoutMs = 2000;  // for a whole request head, however it trickles

  explicit LoopbackStationServer(std::wstring root, uint16_t port = 0);  // 0: any free port
  ~LoopbackStationServer();
  LoopbackStationServer(const LoopbackStationServer&) = delete;
  LoopbackStationServer& operator=(const LoopbackStationServer&) = delete;

  uint16_t Port() const { return port_; }
  bool Listening() const { return listener_ != INVALID_SOCKET; }
  int Requests(const std::string& path) const;
  size_t CountedPaths() const;
  // Pumps this thread's window messages while waiting; true when the count was reached.
  // Meant for one waiting thread at a time.
  bool WaitForRequests(const std::string& path, int count, DWORD timeoutMs) const;

 private:
  void Serve();
  void Answer(SOCKET client);
  void Count(const std::string& path);
  bool WaitReadable(SOCKET client, ULONGLONG deadline) const;

  std::wstring root_;
  uint16_t port_ = 0;
  bool winsockStarted_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  std::atomic<bool> stopping_{false};
  forms::UniqueKernelHandle requestSeen_;
  mutable std::mutex mutex_;
  std::condition_variable clientsGone_;
  int clients_ = 0;
  std::set<SOCKET> clientSockets_;  // shut down on destruction, so no send blocks the wait
  std::map<std::string, int> counts_;
  std::thread thread_;
};

// Maps a request path onto a file below root; empty when the path could leave root or names
// no plain file name (a trailing slash, an empty segment, "..", a drive or stream colon, a control
// character, a device name such as NUL or COM1).
std::wstring FileForRequestPath(const std::wstring& root, const std::string& path);

}  // namespace support
