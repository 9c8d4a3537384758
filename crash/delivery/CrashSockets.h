#pragma once
// The small blocking socket client of the mail delivery. Every connect, read
// and write waits with poll() for at most TimeOut ms, so a stalled peer can
// never hang the report. The transcript records everything sent and received
// and goes into every failure message.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

// All socket and SMTP failures. The message is the failure text followed by
// CR LF "Socket log:" CR LF and the transcript, unless the text already holds
// the transcript.
class ECrashSocketError : public std::runtime_error {
public:
  ECrashSocketError(const std::string& text, const std::string& transcript);
  explicit ECrashSocketError(const std::string& text) : std::runtime_error(text) {}
};

class TCrashClientSocket {
public:
  TCrashClientSocket(std::string host, int timeOutMs, bool stream, uint16_t port);
  virtual ~TCrashClientSocket();
  TCrashClientSocket(const TCrashClientSocket&) = delete;
  TCrashClientSocket& operator=(const TCrashClientSocket&) = delete;

  virtual void Connect();
  virtual void Disconnect();
  // Turns the connection into a TLS one (after the server agreed to
  // STARTTLS). The server's certificate must be valid for Host() and chain
  // to the system's trust store (OpenSSL's default paths, which
  // SSL_CERT_FILE and SSL_CERT_DIR change); anything else fails.
  void StartTls();
  bool Tls() const { return FTls != nullptr; }

  // Sends all bytes or throws; returns the count sent (0 when not connected).
  long Send(std::string_view bytes);
  // Sends in chunks of 1024 bytes, reporting progress after each chunk.
  long SendText(std::string_view text);
  // Waits up to TimeOut ms for data, then returns what arrived (at least one
  // byte) and records it in the transcript; "Socket timeout." otherwise.
  std::string ReadReply();

  const std::string& Host() const { return FHost; }
  uint16_t Port() const { return FPort; }
  int TimeOut() const { return FTimeOut; }
  void SetTimeOut(int ms) { FTimeOut = ms; }
  bool Connected() const { return FConnected; }
  const std::string& Transcript() const { return FTranscript; }
  void AppendTranscript(std::string_view text) { FTranscript.append(text); }
  // The IPv4 address connected to, network order.
  uint32_t Address() const { return FAddress; }

  std::function<void(size_t sent, size_t total)> OnProgress;

  [[noreturn]] void Fail(const std::string& text) const;

  // Frees the OpenSSL session (kept opaque here).
  struct TTlsDeleter {
    void operator()(void* p) const;
  };

private:
  std::string FHost;
  uint16_t FPort;
  int FTimeOut;
  bool FStream;
  int FHandle = -1;
  uint32_t FAddress = 0;
  bool FConnected = false;
  std::string FTranscript;
  std::unique_ptr<void, TTlsDeleter> FTls;  // the OpenSSL session, once started
  void CloseHandle();
};

// Resolves a host name or dotted address to one IPv4 address (network
// order). Throws ECrashSocketError when the name does not resolve or gives
// the unspecified address 0.0.0.0.
uint32_t CrashResolveHost(const std::string& host);

// Looks at the start of buf for one complete SMTP reply: lines ended by LF
// (CR LF or bare LF), every line but the last of the form "ddd-...". Returns
// the length of the complete reply, or 0 while the final line is still
// missing. *code gets the leading decimal digits of the final line, -1 when
// it has none.
size_t CrashSmtpReplyLength(std::string_view buf, int* code);
// Replies longer than this are a broken server, not a slow one.
inline constexpr size_t CrashSmtpMaxReply = 64 * 1024;

class TCrashClientSMTP : public TCrashClientSocket {
public:
  using TCrashClientSocket::TCrashClientSocket;

  // Connects and expects the 220 greeting.
  void Connect() override;
  // Reads one whole reply (multi-line replies to their final line) and
  // tells whether its code is one of the accepted ones.
  bool ExpectReply(const std::vector<int>& accepted);
  // Sends the line (CR LF added) and expects one of the codes; fails with
  // the transcript otherwise. A secret line (AUTH LOGIN credentials) is
  // recorded in the transcript as a placeholder, never as sent.
  void Command(std::string line, const std::vector<int>& accepted, bool secret = false);
  // The same, telling whether the reply was accepted instead of failing.
  bool Ask(std::string line, const std::vector<int>& accepted, bool secret = false);
  // Sends the prepared message (already dot-stuffed, ending in "." CR LF)
  // and expects 250.
  void SendMessage(std::string_view message);
  int LastCode() const { return FLastCode; }
  // The last reply, every line of it.
  const std::string& LastReply() const { return FLastReply; }
  // Whether the last (EHLO) reply offers an extension, e.g. "STARTTLS".
  bool Offers(std::string_view extension) const;
  // STARTTLS, then TLS on the connection; a reply that is no 220 fails.
  void StartTlsSession();

private:
  std::string FPending;
  std::string FLastReply;
  int FLastCode = -1;
};

inline constexpr const char* CrashRedactedLine = "*** (credentials not recorded)\r\n";

} // namespace rasp
