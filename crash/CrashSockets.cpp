#include "crash/CrashSockets.h"

#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace rasp {

namespace {

std::string WithTranscript(const std::string& text, const std::string& transcript) {
  if (transcript.empty() || text.find(transcript) != std::string::npos)
    return text;
  return text + "\r\nSocket log:\r\n" + transcript;
}

std::string Errno(int e) { return std::strerror(e); }

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}

} // namespace

ECrashSocketError::ECrashSocketError(const std::string& text, const std::string& transcript)
    : std::runtime_error(WithTranscript(text, transcript)) {}

uint32_t CrashResolveHost(const std::string& host) {
  if (host.empty())
    throw ECrashSocketError("Cannot resolve an empty host name.");
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &res);
  if (rc != 0 || !res)
    throw ECrashSocketError("Cannot resolve the host \"" + host + "\": \"" + gai_strerror(rc) + "\".");
  uint32_t addr = reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr.s_addr;
  ::freeaddrinfo(res);
  if (addr == 0)
    throw ECrashSocketError("The host \"" + host + "\" resolves to 0.0.0.0.");
  return addr;
}

TCrashClientSocket::TCrashClientSocket(std::string host, int timeOutMs, bool stream, uint16_t port)
    : FHost(std::move(host)), FPort(port), FTimeOut(timeOutMs), FStream(stream) {}

TCrashClientSocket::~TCrashClientSocket() {
  if (FHandle >= 0)
    ::close(FHandle);
}

void TCrashClientSocket::Fail(const std::string& text) const { throw ECrashSocketError(text, FTranscript); }

void TCrashClientSocket::Connect() {
  if (FConnected)
    return;
  uint32_t addr = CrashResolveHost(FHost);
  int fd = ::socket(AF_INET, (FStream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0)
    Fail("Invalid socket: \"" + Errno(errno) + "\".");
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(FPort);
  sa.sin_addr.s_addr = addr;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    int e = errno;
    if (e != EINPROGRESS) {
      ::close(fd);
      Fail("Connection error: \"" + Errno(e) + "\"");
    }
    pollfd p{fd, POLLOUT, 0};
    int rc;
    do
      rc = ::poll(&p, 1, FTimeOut);
    while (rc < 0 && errno == EINTR);
    if (rc == 0) {
      ::close(fd);
      Fail("Connection error: \"Connection timed out\"");
    }
    int soerr = 0;
    socklen_t len = sizeof soerr;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soerr, &len);
    if (rc < 0 || soerr != 0) {
      ::close(fd);
      Fail("Connection error: \"" + Errno(rc < 0 ? errno : soerr) + "\"");
    }
  }
  FHandle = fd;
  FAddress = addr;
  FConnected = true;
  const auto* b = reinterpret_cast<const uint8_t*>(&addr);
  char line[80];
  std::snprintf(line, sizeof line, "Connected to %d.%d.%d.%d port %d\r\n", b[0], b[1], b[2], b[3], FPort);
  FTranscript = line;
}

void TCrashClientSocket::Disconnect() {
  if (FHandle >= 0) {
    int rc = ::close(FHandle);
    FHandle = -1;
    if (rc != 0 && errno != EINTR) {
      FConnected = false;
      Fail("Cannot close the socket: \"" + Errno(errno) + "\"");
    }
  }
  FAddress = 0;
  FConnected = false;
  FTranscript.clear();
}

long TCrashClientSocket::Send(std::string_view bytes) {
  if (!FConnected)
    return 0;
  size_t done = 0;
  auto deadline = Clock::now() + std::chrono::milliseconds(FTimeOut);
  while (done < bytes.size()) {
    ssize_t n = ::send(FHandle, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd p{FHandle, POLLOUT, 0};
      int rc = ::poll(&p, 1, MsLeft(deadline));
      if (rc == 0)
        Fail("Socket timeout.");
      if (rc > 0 || errno == EINTR)
        continue;
    }
    int e = errno;
    std::string transcript = FTranscript;
    ::close(FHandle);
    FHandle = -1;
    FConnected = false;
    throw ECrashSocketError("Error into \"send\": \"" + Errno(e) + "\"", transcript);
  }
  return static_cast<long>(done);
}

long TCrashClientSocket::SendText(std::string_view text) {
  long sent = 0;
  for (size_t pos = 0; pos < text.size(); pos += 1024) {
    long n = Send(text.substr(pos, 1024));
    if (n <= 0)
      return sent;
    sent += n;
    if (OnProgress)
      OnProgress(static_cast<size_t>(sent), text.size());
  }
  return sent;
}

std::string TCrashClientSocket::ReadReply() {
  if (!FConnected)
    Fail("Error into \"recv\": \"not connected\"");
  pollfd p{FHandle, POLLIN, 0};
  int rc;
  do
    rc = ::poll(&p, 1, FTimeOut);
  while (rc < 0 && errno == EINTR);
  if (rc == 0)
    Fail("Socket timeout.");
  char buf[4096];
  ssize_t n;
  do
    n = ::recv(FHandle, buf, sizeof buf, 0);
  while (n < 0 && errno == EINTR);
  if (n <= 0) {
    int e = n == 0 ? ECONNRESET : errno;
    std::string transcript = FTranscript;
    ::close(FHandle);
    FHandle = -1;
    FConnected = false;
    throw ECrashSocketError(n == 0 ? std::string("Error into \"recv\": \"Connection closed by the peer\"")
                                   : "Error into \"recv\": \"" + Errno(e) + "\"",
                            transcript);
  }
  std::string got(buf, static_cast<size_t>(n));
  if (FStream)
    FTranscript += got;
  else
    FTranscript += "[datagram of " + std::to_string(n) + " bytes received]\r\n";
  return got;
}

size_t CrashSmtpReplyLength(std::string_view buf, int* code) {
  size_t pos = 0;
  while (pos < buf.size()) {
    size_t lf = buf.find('\n', pos);
    if (lf == std::string_view::npos)
      return 0;
    std::string_view line = buf.substr(pos, lf - pos);
    pos = lf + 1;
    bool continued = line.size() >= 4 && line[3] == '-' && std::isdigit(uint8_t(line[0])) &&
                     std::isdigit(uint8_t(line[1])) && std::isdigit(uint8_t(line[2]));
    if (continued)
      continue;
    int value = -1;
    for (size_t i = 0; i < line.size() && std::isdigit(uint8_t(line[i])) && i < 9; ++i)
      value = (value < 0 ? 0 : value * 10) + (line[i] - '0');
    if (code)
      *code = value;
    return pos;
  }
  return 0;
}

void TCrashClientSMTP::Connect() {
  TCrashClientSocket::Connect();
  if (!ExpectReply({220}))
    Fail(Transcript());
}

bool TCrashClientSMTP::ExpectReply(const std::vector<int>& accepted) {
  int code = -1;
  size_t len;
  while ((len = CrashSmtpReplyLength(FPending, &code)) == 0) {
    if (FPending.size() > CrashSmtpMaxReply)
      Fail("The SMTP server's reply is too long.");
    FPending += ReadReply();
  }
  FPending.erase(0, len);
  FLastCode = code;
  for (int c : accepted)
    if (c == code)
      return true;
  return false;
}

void TCrashClientSMTP::Command(std::string line, const std::vector<int>& accepted, bool secret) {
  if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0)
    line += "\r\n";
  long sent = SendText(line);
  if (sent != static_cast<long>(line.size()))
    Fail(Transcript());
  AppendTranscript(secret ? std::string_view(CrashRedactedLine) : std::string_view(line));
  if (!ExpectReply(accepted))
    Fail(Transcript());
}

void TCrashClientSMTP::SendMessage(std::string_view message) {
  long sent = SendText(message);
  if (sent != static_cast<long>(message.size()))
    Fail(Transcript());
  AppendTranscript("[message of " + std::to_string(message.size()) + " bytes sent]\r\n");
  if (!ExpectReply({250}))
    Fail(Transcript());
}

} // namespace rasp
