// The station server: serves the station folder on the loopback interface to the program, the
// program tests and the page's browser tests, streams the demo files as live radio, tells what
// each demo station is playing, and counts what clients ask for.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "forms/handles.h"

namespace support {

struct StationServerSettings {
  int trackSeconds = 30;    // how long each demo "song" of the now-playing files lasts
  int maxLiveStreams = 8;   // more listeners than this get 503
  int maxClients = 32;      // connections answered at once, live ones included
};

// Serves the files below `root` over HTTP/1.0 on 127.0.0.1, each connection on a thread of its
// own, and counts the GET requests per path (the path without the query string).
//
//   /live/NAME          streams/NAME.mp3 looped endlessly from where the loop is by the server's
//                       clock, at its bit rate after a 64 KB burst, without a length, as a
//                       radio station sends; ?drop=S closes it after S seconds of audio and
//                       ?stall=S goes silent after S seconds of audio while keeping it open
//   /nowplaying/NAME    {"title","artist"} of the line of streams/NAME.tracks playing now
//   /server/status      {"requests":{path:count},"open":{path:count}} for tests
class LoopbackStationServer {
 public:
  explicit LoopbackStationServer(std::wstring root, uint16_t port = 0);  // 0: any free port
  LoopbackStationServer(std::wstring root, uint16_t port, StationServerSettings settings);
  ~LoopbackStationServer();
  LoopbackStationServer(const LoopbackStationServer&) = delete;
  LoopbackStationServer& operator=(const LoopbackStationServer&) = delete;

  uint16_t Port() const { return port_; }
  bool Listening() const { return listener_ != INVALID_SOCKET; }
  int Requests(const std::string& path) const;
  // Connections on this path still being answered (live streams stay open).
  int OpenConnections(const std::string& path) const;
  // Pumps this thread's window messages while waiting; true when the count was reached.
  // Meant for one waiting thread at a time.
  bool WaitForRequests(const std::string& path, int count, DWORD timeoutMs) const;

 private:
  void Serve();
  void Answer(SOCKET client);
  void StreamLive(SOCKET client, const std::string& name, const std::string& query);
  void SendNowPlaying(SOCKET client, const std::string& name);
  void SendStatus(SOCKET client);
  void Count(const std::string& path);
  bool WaitReadable(SOCKET client, DWORD timeoutMs) const;

  std::wstring root_;
  StationServerSettings settings_;
  uint16_t port_ = 0;
  bool winsockStarted_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  ULONGLONG startedAt_ = ::GetTickCount64();
  std::atomic<bool> stopping_{false};
  forms::UniqueKernelHandle requestSeen_;
  mutable std::mutex mutex_;
  std::condition_variable clientsGone_;
  int clients_ = 0;
  std::set<SOCKET> clientSockets_;  // shut down on destruction, so no send blocks the wait
  int liveStreams_ = 0;
  std::map<std::string, int> counts_;
  std::map<std::string, int> open_;
  std::thread thread_;
};

// The MIME type the server sends for a file name; application/octet-stream when unknown.
const char* ContentTypeFor(const std::wstring& fileName);

// Maps a request path onto a file below root; empty when the path could leave root or names
// no file (a trailing slash, an empty segment, "..", a drive or stream colon).
std::wstring FileForRequestPath(const std::wstring& root, const std::string& path);

// Bytes per second of an MP3 stream, from the first frame header after any ID3v2 tag; empty when
// the data does not start with an MPEG-1/2/2.5 layer III frame of a fixed bit rate.
std::optional<int> Mp3BytesPerSecond(const std::vector<char>& data);

// Where a listener joins the endless loop of an MP3 file `elapsedMs` after the server started:
// the first frame at or after that moment, so that every listener hears the same moment, as on
// the radio. The start of the audio when the frames cannot be followed.
size_t LiveJoinPoint(const std::vector<char>& data, unsigned long long elapsedMs);

// The entry of a "title<TAB>artist" per line list that plays `elapsedSeconds` after the start,
// each lasting `trackSeconds`, as JSON; {"title":"","artist":""} for an empty list.
std::string NowPlayingJson(const std::string& tracks, long long elapsedSeconds, int trackSeconds);

}  // namespace support
