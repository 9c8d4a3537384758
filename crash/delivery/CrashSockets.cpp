#include "crash/delivery/CrashSockets.h"

#include "platform/base/NoSigPipe.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

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

SSL* Ssl(const std::unique_ptr<void, TCrashClientSocket::TTlsDeleter>& p) { return static_cast<SSL*>(p.get()); }

// What OpenSSL says about its last failure on this session.
std::string TlsError(SSL* ssl, int rc) {
  long verify = ssl ? SSL_get_verify_result(ssl) : X509_V_OK;
  if (verify != X509_V_OK)
    return std::string("the server's certificate is not accepted: ") + X509_verify_cert_error_string(verify);
  unsigned long e = ERR_get_error();
  ERR_clear_error();
  if (e) {
    char buf[256];
    ERR_error_string_n(e, buf, sizeof buf);
    return buf;
  }
  int code = ssl ? SSL_get_error(ssl, rc) : 0;
  if (code == SSL_ERROR_SYSCALL)
    return errno ? std::strerror(errno) : "the connection was closed";
  if (code == SSL_ERROR_ZERO_RETURN)
    return "the connection was closed";
  return "TLS error " + std::to_string(code);
}

// Waits until the socket can go on with what OpenSSL asked for; false on
// time-out.
bool WaitForTls(int fd, SSL* ssl, int rc, Clock::time_point deadline) {
  const int code = SSL_get_error(ssl, rc);
  if (code != SSL_ERROR_WANT_READ && code != SSL_ERROR_WANT_WRITE)
    return false;
  pollfd p{fd, short(code == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT), 0};
  int r;
  do
    r = ::poll(&p, 1, MsLeft(deadline));
  while (r < 0 && errno == EINTR);
  return r > 0;
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

void TCrashClientSocket::TTlsDeleter::operator()(void* p) const { SSL_free(static_cast<SSL*>(p)); }

TCrashClientSocket::~TCrashClientSocket() { CloseHandle(); }

void TCrashClientSocket::CloseHandle() {
  FTls.reset();
  if (FHandle >= 0)
    ::close(FHandle);
  FHandle = -1;
  FConnected = false;
}

void TCrashClientSocket::StartTls() {
  if (!FConnected)
    Fail("Cannot start TLS: not connected.");
  std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> ctx(SSL_CTX_new(TLS_client_method()), SSL_CTX_free);
  if (!ctx)
    Fail("Cannot start TLS: " + TlsError(nullptr, 0));
  SSL_CTX_set_min_proto_version(ctx.get(), TLS1_2_VERSION);
  SSL_CTX_set_default_verify_paths(ctx.get());
  SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER, nullptr);
  std::unique_ptr<void, TTlsDeleter> tls(SSL_new(ctx.get()));
  SSL* ssl = static_cast<SSL*>(tls.get());
  if (!ssl || SSL_set_fd(ssl, FHandle) != 1)
    Fail("Cannot start TLS: " + TlsError(ssl, 0));
  // The certificate must name the host we meant: by address when we were
  // given one, else by name (which also goes out as the server name).
  in_addr literal{};
  if (::inet_pton(AF_INET, FHost.c_str(), &literal) == 1) {
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), FHost.c_str());
  } else {
    SSL_set_tlsext_host_name(ssl, FHost.c_str());
    SSL_set1_host(ssl, FHost.c_str());
  }
  TNoSigPipe noSigPipe;
  const auto deadline = Clock::now() + std::chrono::milliseconds(FTimeOut);
  for (;;) {
    ERR_clear_error();
    int rc = SSL_connect(ssl);
    if (rc == 1)
      break;
    if (!WaitForTls(FHandle, ssl, rc, deadline)) {
      std::string why = MsLeft(deadline) == 0 ? std::string("Socket timeout.") : TlsError(ssl, rc);
      FTranscript += "[TLS handshake failed]\r\n";
      Fail("TLS with \"" + FHost + "\" failed: " + why);
    }
  }
  FTls = std::move(tls);
  FTranscript += std::string("[TLS started: ") + SSL_get_version(ssl) + "]\r\n";
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
  FTls.reset();
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
  if (SSL* ssl = Ssl(FTls)) {
    TNoSigPipe noSigPipe;
    while (done < bytes.size()) {
      ERR_clear_error();
      int n = SSL_write(ssl, bytes.data() + done, int(std::min<size_t>(bytes.size() - done, 1 << 20)));
      if (n > 0) {
        done += size_t(n);
        continue;
      }
      if (WaitForTls(FHandle, ssl, n, deadline))
        continue;
      std::string why = MsLeft(deadline) == 0 ? std::string("Socket timeout.") : TlsError(ssl, n);
      std::string transcript = FTranscript;
      CloseHandle();
      throw ECrashSocketError("Error into \"send\": \"" + why + "\"", transcript);
    }
    return static_cast<long>(done);
  }
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
  if (SSL* ssl = Ssl(FTls)) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(FTimeOut);
    char buf[4096];
    for (;;) {
      ERR_clear_error();
      int n = SSL_read(ssl, buf, sizeof buf);
      if (n > 0) {
        std::string got(buf, size_t(n));
        FTranscript += got;
        return got;
      }
      if (WaitForTls(FHandle, ssl, n, deadline))
        continue;
      if (MsLeft(deadline) == 0)
        Fail("Socket timeout.");
      std::string why = TlsError(ssl, n);
      std::string transcript = FTranscript;
      CloseHandle();
      throw ECrashSocketError("Error into \"recv\": \"" + why + "\"", transcript);
    }
  }
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
  FLastReply = FPending.substr(0, len);
  FPending.erase(0, len);
  FLastCode = code;
  for (int c : accepted)
    if (c == code)
      return true;
  return false;
}

bool TCrashClientSMTP::Ask(std::string line, const std::vector<int>& accepted, bool secret) {
  if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0)
    line += "\r\n";
  long sent = SendText(line);
  if (sent != static_cast<long>(line.size()))
    Fail(Transcript());
  AppendTranscript(secret ? std::string_view(CrashRedactedLine) : std::string_view(line));
  return ExpectReply(accepted);
}

void TCrashClientSMTP::Command(std::string line, const std::vector<int>& accepted, bool secret) {
  if (!Ask(std::move(line), accepted, secret))
    Fail(Transcript());
}

bool TCrashClientSMTP::Offers(std::string_view extension) const {
  // Every line after the first is "250-KEYWORD params" or "250 KEYWORD".
  size_t at = FLastReply.find('\n');
  while (at != std::string::npos && at + 1 < FLastReply.size()) {
    size_t end = FLastReply.find('\n', at + 1);
    std::string_view line = std::string_view(FLastReply).substr(at + 1, end == std::string::npos ? std::string::npos
                                                                                                : end - at - 1);
    if (line.size() >= 4 + extension.size()) {
      std::string_view word = line.substr(4, extension.size());
      bool same = true;
      for (size_t i = 0; i < word.size(); ++i)
        same = same && std::toupper(uint8_t(word[i])) == std::toupper(uint8_t(extension[i]));
      char after = line.size() > 4 + extension.size() ? line[4 + extension.size()] : ' ';
      if (same && (after == ' ' || after == '\r' || after == '\n'))
        return true;
    }
    at = end;
  }
  return false;
}

void TCrashClientSMTP::StartTlsSession() {
  Command("STARTTLS", {220});
  // Nothing the server sent before the handshake may be taken as said
  // inside TLS.
  if (!FPending.empty())
    Fail("The SMTP server sent more than its reply to STARTTLS.");
  StartTls();
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
