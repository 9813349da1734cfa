#include "support/station_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "support/window_probe.h"

namespace support {
namespace {

constexpr size_t kMaxRequestHead = 16 * 1024;
constexpr LONGLONG kMaxFileBytes = 4 * 1024 * 1024;
// Short enough that the destructor never waits long for a thread to notice.
constexpr long kAcceptPollMicroseconds = 50 * 1000;
constexpr DWORD kPollSliceMs = 100;
// A client that stops reading for this long is dropped.
constexpr DWORD kSendTimeoutMs = 5000;

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

// The deadline is for the whole head: a client that sends a byte now and then still gets no more.
template <class WaitReadable>
std::string ReceiveHead(SOCKET client, WaitReadable waitReadable) {
  const ULONGLONG deadline = ::GetTickCount64() + LoopbackStationServer::kRequestTimeoutMs;
  std::string head;
  char buffer[2048];
  while (head.size() < kMaxRequestHead && head.find("\r\n\r\n") == std::string::npos) {
    if (!waitReadable(client, deadline)) break;
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

bool ReadWholeFile(const std::wstring& name, std::vector<char>& body) {
  // A folder fails here too: opening one needs FILE_FLAG_BACKUP_SEMANTICS.
  HANDLE opened = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  forms::UniqueKernelHandle file(opened);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxFileBytes) return false;
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

// CON, NUL, COM1 and the like name devices in every folder, with any extension.
bool IsDeviceName(std::string segment) {
  segment = segment.substr(0, segment.find('.'));
  while (!segment.empty() && segment.back() == ' ') segment.pop_back();
  std::transform(segment.begin(), segment.end(), segment.begin(), [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  if (segment == "CON" || segment == "PRN" || segment == "AUX" || segment == "NUL" || segment == "CONIN$" || segment == "CONOUT$") return true;
  return segment.size() == 4 && (segment.compare(0, 3, "COM") == 0 || segment.compare(0, 3, "LPT") == 0) &&
         std::isdigit(static_cast<unsigned char>(segment[3]));
}

}  // namespace

std::wstring FileForRequestPath(const std::wstring& root, const std::string& path) {
  std::string decoded;
  if (path.empty() || path[0] != '/' || !PercentDecode(path, decoded)) return {};
  std::wstring relative;
  size_t start = 1;
  while (true) {
    size_t end = decoded.find('/', start);
    std::string segment = decoded.substr(start, end == std::string::npos ? std::string::npos : end - start);
    // A backslash or colon would let Windows read the segment as more than one name.
    if (segment.empty() || segment == "." || segment == ".." || IsDeviceName(segment) ||
        segment.find_first_of("\\:*?\"<>|") != std::string::npos ||
        std::any_of(segment.begin(), segment.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
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
    : root_(std::move(root)), requestSeen_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
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
    // Client threads poll stopping_, but one blocked in send() to a client that stopped reading
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

size_t LoopbackStationServer::CountedPaths() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return counts_.size();
}

bool LoopbackStationServer::WaitForRequests(const std::string& path, int count, DWORD timeoutMs) const {
  HANDLE seen = requestSeen_.Get();
  return WaitFor([&] { return Requests(path) >= count; }, timeoutMs, seen);
}

void LoopbackStationServer::Count(const std::string& path) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = counts_.find(path);
    if (found != counts_.end()) {
      ++found->second;
    } else if (counts_.size() < kMaxCountedPaths) {
      counts_.emplace(path, 1);
    }
  }
  ::SetEvent(requestSeen_.Get());
}

bool LoopbackStationServer::WaitReadable(SOCKET client, ULONGLONG deadline) const {
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
      if (clients_ < kMaxClients) {
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
  std::string head = ReceiveHead(client, [this](SOCKET s, ULONGLONG deadline) { return WaitReadable(s, deadline); });
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
  std::string path = target.substr(0, target.find_first_of("?#"));
  if (method != "GET" && method != "HEAD") return SendError(client, "405 Method Not Allowed");
  if (method == "GET") Count(path);

  std::wstring file = FileForRequestPath(root_, path);
  std::vector<char> body;
  if (file.empty() || !ReadWholeFile(file, body)) return SendError(client, "404 Not Found");
  SendResponse(client, "200 OK", ContentTypeFor(file), body, method == "GET");
}

}  // namespace support
