// A small static web server for tests: serves a folder on the loopback interface and counts
// what the program under test asks for.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "forms/handles.h"

namespace support {

// Serves the files below `root` over HTTP/1.0 on 127.0.0.1 from a thread of its own and counts
// the GET requests per path (the path without the query string).
class LoopbackStationServer {
 public:
  explicit LoopbackStationServer(std::wstring root, uint16_t port = 0);  // 0: any free port
  ~LoopbackStationServer();
  LoopbackStationServer(const LoopbackStationServer&) = delete;
  LoopbackStationServer& operator=(const LoopbackStationServer&) = delete;

  uint16_t Port() const { return port_; }
  bool Listening() const { return listener_ != INVALID_SOCKET; }
  int Requests(const std::string& path) const;
  // Pumps this thread's window messages while waiting; true when the count was reached.
  // Meant for one waiting thread at a time.
  bool WaitForRequests(const std::string& path, int count, DWORD timeoutMs) const;

 private:
  void Serve();
  void Answer(SOCKET client);
  void Count(const std::string& path);

  std::wstring root_;
  uint16_t port_ = 0;
  bool winsockStarted_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  std::atomic<bool> stopping_{false};
  forms::UniqueKernelHandle requestSeen_;
  mutable std::mutex mutex_;
  std::map<std::string, int> counts_;
  std::thread thread_;
};

// The MIME type the server sends for a file name; application/octet-stream when unknown.
const char* ContentTypeFor(const std::wstring& fileName);

// Maps a request path onto a file below root; empty when the path could leave root or names
// no file (a trailing slash, an empty segment, "..", a drive or stream colon).
std::wstring FileForRequestPath(const std::wstring& root, const std::string& path);

}  // namespace support
