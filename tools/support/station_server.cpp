#include "support/station_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/window_probe.h"

namespace support {
namespace {

constexpr size_t kMaxRequestHead = 16 * 1024;
// Short enough that the destructor never waits long for a thread to notice.
constexpr long kAcceptPollMicroseconds = 50 * 1000;
constexpr DWORD kPollSliceMs = 100;
constexpr DWORD kClientTimeoutMs = 5000;
// A listener that stops reading for this long is dropped, as radio servers drop slow clients.
constexpr DWORD kSendTimeoutMs = 15000;
// Live streams start with a burst, as radio servers do, then keep pace: browsers wait for about
// 32 KB before they start playing, which is 8 s of a 32 kbit/s stream.
constexpr int kLiveBurstSeconds = 2;
constexpr double kLiveBurstBytes = 64 * 1024;
constexpr DWORD kLiveTickMs = 250;

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        n);
  return wide;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// False on a malformed escape or an escaped NUL, which could cut the file name short.
bool PercentDecode(const std::string& in, std::string& out) {
  out.clear();
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '%') {
      out += in[i];
      continue;
    }
    if (i + 2 >= in.size()) return false;
    int hi = HexValue(in[i + 1]);
    int lo = HexValue(in[i + 2]);
    if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return false;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

template <class WaitReadable>
std::string ReceiveHead(SOCKET client, WaitReadable waitReadable) {
  std::string head;
  char buffer[2048];
  while (head.size() < kMaxRequestHead && head.find("\r\n\r\n") == std::string::npos) {
    if (!waitReadable(client, kClientTimeoutMs)) break;
    int got = ::recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    head.append(buffer, static_cast<size_t>(got));
  }
  return head;
}

bool SendAll(SOCKET client, const char* data, size_t size) {
  while (size > 0) {
    int sent = ::send(client, data, static_cast<int>(std::min<size_t>(size, 64 * 1024)), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

bool SendText(SOCKET client, const std::string& text) { return SendAll(client, text.data(), text.size()); }

bool ReadWholeFile(const std::wstring& name, std::vector<char>& body) {
  // A folder fails here too: opening one needs FILE_FLAG_BACKUP_SEMANTICS.
  HANDLE opened = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  forms::UniqueKernelHandle file(opened);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 64 * 1024 * 1024) return false;
  body.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  return body.empty() ||
         (::ReadFile(file.Get(), body.data(), static_cast<DWORD>(body.size()), &read, nullptr) &&
          read == body.size());
}

void SendResponse(SOCKET client, const char* status, const char* type, const std::vector<char>& body,
                  bool withBody) {
  std::string head = std::string("HTTP/1.0 ") + status + "\r\n" + "Content-Type: " + type + "\r\n" +
                     "Content-Length: " + std::to_string(body.size()) + "\r\n" +
                     "X-UA-Compatible: IE=edge\r\n"
                     // Every navigation must reach us, or the counts would lie.
                     "Cache-Control: no-store\r\n"
                     "Connection: close\r\n\r\n";
  SendAll(client, head.data(), head.size());
  if (withBody) SendAll(client, body.data(), body.size());
}

void SendError(SOCKET client, const char* status) {
  std::string text = std::string(status) + "\n";
  SendResponse(client, status, "text/plain; charset=utf-8", std::vector<char>(text.begin(), text.end()), true);
}

void SendJson(SOCKET client, const std::string& json) {
  SendResponse(client, "200 OK", "application/json; charset=utf-8", std::vector<char>(json.begin(), json.end()),
               true);
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string JsonCounts(const std::map<std::string, int>& counts) {
  std::string json = "{";
  for (const auto& [path, count] : counts) {
    if (json.size() > 1) json += ",";
    json += JsonString(path) + ":" + std::to_string(count);
  }
  return json + "}";
}

// The number after "key=" in a query string; 0 when absent or not a positive number.
double QueryNumber(const std::string& query, const std::string& key) {
  size_t at = 0;
  while (at < query.size()) {
    size_t end = query.find('&', at);
    std::string pair = query.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (pair.compare(0, key.size() + 1, key + "=") == 0) {
      double value = std::atof(pair.c_str() + key.size() + 1);
      return value > 0 ? value : 0;
    }
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return 0;
}

// A stream name is one plain file name without its extension.
bool IsStreamName(const std::string& name) {
  return !name.empty() && name.size() <= 64 &&
         std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_'; });
}

size_t Id3v2Size(const std::vector<char>& data) {
  if (data.size() < 10 || data[0] != 'I' || data[1] != 'D' || data[2] != '3') return 0;
  auto byte = [&](size_t i) { return static_cast<size_t>(static_cast<unsigned char>(data[i]) & 0x7F); };
  size_t size = 10 + (byte(6) << 21 | byte(7) << 14 | byte(8) << 7 | byte(9));
  if (static_cast<unsigned char>(data[5]) & 0x10) size += 10;  // footer
  return std::min(size, data.size());
}

// RAII count of a connection in a per-path map.
class OpenCount {
 public:
  OpenCount(std::mutex& mutex, std::map<std::string, int>& open, std::string path)
      : mutex_(mutex), open_(open), path_(std::move(path)) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++open_[path_];
  }
  ~OpenCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (--open_[path_] == 0) open_.erase(path_);
  }
  OpenCount(const OpenCount&) = delete;
  OpenCount& operator=(const OpenCount&) = delete;

 private:
  std::mutex& mutex_;
  std::map<std::string, int>& open_;
  std::string path_;
};

}  // namespace

const char* ContentTypeFor(const std::wstring& fileName) {
  static const struct {
    const wchar_t* extension;
    const char* type;
  } kTypes[] = {
      {L".htm", "text/html; charset=utf-8"}, {L".html", "text/html; charset=utf-8"},
      {L".css", "text/css; charset=utf-8"},  {L".js", "application/javascript; charset=utf-8"},
      {L".json", "application/json; charset=utf-8"},
      {L".mp3", "audio/mpeg"},               {L".ogg", "audio/ogg"},
      {L".png", "image/png"},                {L".gif", "image/gif"},
  };
  size_t dot = fileName.find_last_of(L"./\\");
  if (dot == std::wstring::npos || fileName[dot] != L'.') return "application/octet-stream";
  std::wstring extension = fileName.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(::towlower(c)); });
  for (const auto& entry : kTypes) {
    if (extension == entry.extension) return entry.type;
  }
  return "application/octet-stream";
}

namespace {

struct Mp3Frame {
  int bytesPerSecond;
  size_t length;
};

std::optional<Mp3Frame> Mp3FrameAt(const std::vector<char>& data, size_t at) {
  if (data.size() < at + 4) return std::nullopt;
  auto b = [&](size_t i) { return static_cast<unsigned char>(data[at + i]); };
  if (b(0) != 0xFF || (b(1) & 0xE0) != 0xE0) return std::nullopt;
  int version = (b(1) >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5, 1 reserved
  int layer = (b(1) >> 1) & 3;    // 1 is layer III
  int index = b(2) >> 4;          // 0 free format, 15 invalid
  int rateIndex = (b(2) >> 2) & 3;
  if (version == 1 || layer != 1 || index == 0 || index == 15 || rateIndex == 3) return std::nullopt;
  static const int kMpeg1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  static const int kMpeg2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static const int kMpeg1Rates[] = {44100, 48000, 32000};
  int kilobits = version == 3 ? kMpeg1[index] : kMpeg2[index];
  int sampleRate = kMpeg1Rates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
  int padding = (b(2) >> 1) & 1;
  size_t length = static_cast<size_t>((version == 3 ? 144000 : 72000) * kilobits / sampleRate + padding);
  return Mp3Frame{kilobits * 1000 / 8, length};
}

}  // namespace

std::optional<int> Mp3BytesPerSecond(const std::vector<char>& data) {
  std::optional<Mp3Frame> first = Mp3FrameAt(data, Id3v2Size(data));
  if (!first) return std::nullopt;
  return first->bytesPerSecond;
}

size_t LiveJoinPoint(const std::vector<char>& data, unsigned long long elapsedMs) {
  const size_t loopStart = Id3v2Size(data);
  std::optional<int> rate = Mp3BytesPerSecond(data);
  if (!rate || data.size() <= loopStart) return loopStart;
  const size_t wanted = loopStart + static_cast<size_t>(elapsedMs * static_cast<unsigned>(*rate) / 1000 %
                                                        (data.size() - loopStart));
  // Frames are followed from the start, so a sync pattern inside audio data is never taken
  // for a frame.
  size_t at = loopStart;
  while (at < wanted) {
    std::optional<Mp3Frame> frame = Mp3FrameAt(data, at);
    if (!frame || frame->length < 4) return loopStart;
    at += frame->length;
  }
  return at < data.size() ? at : loopStart;
}

std::string NowPlayingJson(const std::string& tracks, long long elapsedSeconds, int trackSeconds) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < tracks.size()) {
    size_t end = tracks.find('\n', at);
    std::string line = tracks.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  std::string title, artist;
  if (!lines.empty()) {
    long long slot = elapsedSeconds / std::max(1, trackSeconds);
    const std::string& line = lines[static_cast<size_t>(slot % static_cast<long long>(lines.size()))];
    size_t tab = line.find('\t');
    title = line.substr(0, tab);
    if (tab != std::string::npos) artist = line.substr(tab + 1);
  }
  return "{\"title\":" + JsonString(title) + ",\"artist\":" + JsonString(artist) + "}";
}

std::wstring FileForRequestPath(const std::wstring& root, const std::string& path) {
  std::string decoded;
  if (path.empty() || path[0] != '/' || !PercentDecode(path, decoded)) return {};
  std::wstring relative;
  size_t start = 1;
  while (true) {
    size_t end = decoded.find('/', start);
    std::string segment = decoded.substr(start, end == std::string::npos ? std::string::npos : end - start);
    // A backslash or colon would let Windows read the segment as more than one name.
    if (segment.empty() || segment == "." || segment == ".." ||
        segment.find_first_of("\\:*?\"<>|") != std::string::npos) {
      return {};
    }
    std::wstring wide = Widen(segment);
    if (wide.empty()) return {};
    relative += L'\\' + wide;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::wstring base = root;
  while (!base.empty() && (base.back() == L'\\' || base.back() == L'/')) base.pop_back();
  return base + relative;
}

LoopbackStationServer::LoopbackStationServer(std::wstring root, uint16_t port)
    : LoopbackStationServer(std::move(root), port, StationServerSettings{}) {}

LoopbackStationServer::LoopbackStationServer(std::wstring root, uint16_t port, StationServerSettings settings)
    : root_(std::move(root)), settings_(settings), requestSeen_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  WSADATA data;
  winsockStarted_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!winsockStarted_) return;
  listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, SOMAXCONN) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::closesocket(listener_);
    listener_ = INVALID_SOCKET;
    return;
  }
  port_ = ::ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackStationServer::~LoopbackStationServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  {
    // Client threads poll stopping_, but one blocked in send() to a listener that stopped reading
    // would wait for its send timeout: shutting its socket down wakes it at once.
    std::unique_lock<std::mutex> lock(mutex_);
    for (SOCKET client : clientSockets_) ::shutdown(client, SD_BOTH);
    clientsGone_.wait(lock, [this] { return clients_ == 0; });
  }
  if (listener_ != INVALID_SOCKET) ::closesocket(listener_);
  if (winsockStarted_) ::WSACleanup();
}

int LoopbackStationServer::Requests(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = counts_.find(path);
  return found == counts_.end() ? 0 : found->second;
}

int LoopbackStationServer::OpenConnections(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = open_.find(path);
  return found == open_.end() ? 0 : found->second;
}

bool LoopbackStationServer::WaitForRequests(const std::string& path, int count, DWORD timeoutMs) const {
  HANDLE seen = requestSeen_.Get();
  return WaitFor([&] { return Requests(path) >= count; }, timeoutMs, seen);
}

void LoopbackStationServer::Count(const std::string& path) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++counts_[path];
  }
  ::SetEvent(requestSeen_.Get());
}

bool LoopbackStationServer::WaitReadable(SOCKET client, DWORD timeoutMs) const {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (!stopping_) {
    ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return false;
    DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kPollSliceMs));
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(client, &readable);
    timeval wait{0, static_cast<long>(slice * 1000)};
    int ready = ::select(0, &readable, nullptr, nullptr, &wait);
    if (ready != 0) return ready > 0;
  }
  return false;
}

void LoopbackStationServer::Serve() {
  while (!stopping_) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval wait{0, kAcceptPollMicroseconds};
    if (::select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET client = ::accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    DWORD sendTimeout = kSendTimeoutMs;
    ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeout), sizeof sendTimeout);
    bool accepted = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (clients_ < settings_.maxClients) {
        ++clients_;
        clientSockets_.insert(client);
        accepted = true;
      }
    }
    if (!accepted) {
      SendError(client, "503 Service Unavailable");
      ::closesocket(client);
      continue;
    }
    // Detached: the destructor waits for clients_ to reach zero instead of joining.
    std::thread([this, client] {
      Answer(client);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        clientSockets_.erase(client);
      }
      ::shutdown(client, SD_SEND);
      ::closesocket(client);
      std::lock_guard<std::mutex> lock(mutex_);
      --clients_;
      clientsGone_.notify_all();
    }).detach();
  }
}

void LoopbackStationServer::Answer(SOCKET client) {
  std::string head = ReceiveHead(client, [this](SOCKET s, DWORD ms) { return WaitReadable(s, ms); });
  size_t lineEnd = head.find("\r\n");
  if (lineEnd == std::string::npos) return SendError(client, "400 Bad Request");
  std::string line = head.substr(0, lineEnd);
  size_t firstSpace = line.find(' ');
  size_t secondSpace = line.find(' ', firstSpace + 1);
  if (firstSpace == std::string::npos || secondSpace == std::string::npos) {
    return SendError(client, "400 Bad Request");
  }
  std::string method = line.substr(0, firstSpace);
  std::string target = line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
  size_t queryStart = target.find_first_of("?#");
  std::string path = target.substr(0, queryStart);
  std::string query = queryStart == std::string::npos ? "" : target.substr(queryStart + 1);
  if (method != "GET" && method != "HEAD") return SendError(client, "405 Method Not Allowed");
  if (method == "GET") Count(path);
  OpenCount open(mutex_, open_, path);

  static const std::string kLive = "/live/", kNowPlaying = "/nowplaying/";
  if (method == "GET" && path.compare(0, kLive.size(), kLive) == 0) {
    return StreamLive(client, path.substr(kLive.size()), query);
  }
  if (method == "GET" && path.compare(0, kNowPlaying.size(), kNowPlaying) == 0) {
    return SendNowPlaying(client, path.substr(kNowPlaying.size()));
  }
  if (method == "GET" && path == "/server/status") return SendStatus(client);

  std::wstring file = FileForRequestPath(root_, path);
  std::vector<char> body;
  if (file.empty() || !ReadWholeFile(file, body)) return SendError(client, "404 Not Found");
  SendResponse(client, "200 OK", ContentTypeFor(file), body, method == "GET");
}

void LoopbackStationServer::StreamLive(SOCKET client, const std::string& name, const std::string& query) {
  std::vector<char> audio;
  if (!IsStreamName(name) || !ReadWholeFile(FileForRequestPath(root_, "/streams/" + name + ".mp3"), audio)) {
    return SendError(client, "404 Not Found");
  }
  std::optional<int> bytesPerSecond = Mp3BytesPerSecond(audio);
  size_t loopStart = Id3v2Size(audio);
  if (!bytesPerSecond) return SendError(client, "415 Unsupported Media Type");
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (liveStreams_ >= settings_.maxLiveStreams) return SendError(client, "503 Service Unavailable");
    ++liveStreams_;
  }
  struct Release {
    LoopbackStationServer* server;
    ~Release() {
      std::lock_guard<std::mutex> lock(server->mutex_);
      --server->liveStreams_;
    }
  } release{this};

  // No Content-Length and Connection: close: the stream ends when one side closes it.
  if (!SendText(client,
                "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\nCache-Control: no-store\r\n"
                "X-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n")) {
    return;
  }
  const double rate = *bytesPerSecond;
  const double dropAfter = QueryNumber(query, "drop") * rate;
  const double stallAfter = QueryNumber(query, "stall") * rate;
  const ULONGLONG start = ::GetTickCount64();
  size_t position = LiveJoinPoint(audio, start - startedAt_);
  double sent = 0;
  while (!stopping_) {
    double due = std::max(kLiveBurstSeconds * rate, kLiveBurstBytes) +
                 static_cast<double>(::GetTickCount64() - start) * rate / 1000;
    if (stallAfter > 0) due = std::min(due, stallAfter);
    if (dropAfter > 0) due = std::min(due, dropAfter);
    while (sent + 1 <= due) {
      size_t piece = std::min(static_cast<size_t>(due - sent), audio.size() - position);
      if (!SendAll(client, audio.data() + position, piece)) return;
      sent += static_cast<double>(piece);
      position += piece;
      if (position == audio.size()) position = loopStart;
    }
    if (dropAfter > 0 && sent + 1 > dropAfter) return;
    // Waiting for the next tick also notices a listener that went away.
    if (WaitReadable(client, kLiveTickMs)) {
      char discard[512];
      if (::recv(client, discard, sizeof discard, 0) <= 0) return;
    }
  }
}

void LoopbackStationServer::SendNowPlaying(SOCKET client, const std::string& name) {
  std::vector<char> tracks;
  if (!IsStreamName(name) || !ReadWholeFile(FileForRequestPath(root_, "/streams/" + name + ".tracks"), tracks)) {
    return SendError(client, "404 Not Found");
  }
  long long elapsed = static_cast<long long>((::GetTickCount64() - startedAt_) / 1000);
  SendJson(client, NowPlayingJson(std::string(tracks.begin(), tracks.end()), elapsed, settings_.trackSeconds));
}

void LoopbackStationServer::SendStatus(SOCKET client) {
  std::string json;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    json = "{\"requests\":" + JsonCounts(counts_) + ",\"open\":" + JsonCounts(open_) + "}";
  }
  SendJson(client, json);
}

}  // namespace support
