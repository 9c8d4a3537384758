#pragma once
// Servers the mail tests talk to, on 127.0.0.1 only: a scripted SMTP server
// and a DNS responder that answers with prepared packets.
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rasp::test {

class TFakeSmtpServer {
public:
  // Reply for a command verb ("EHLO", "AUTH", "RCPT", "DATA", "MESSAGE" for
  // the message end, "AUTHUSER"/"AUTHPASS" for the two credential lines);
  // missing verbs get the usual success replies.
  std::map<std::string, std::string> Replies;
  std::string Greeting = "220 test ESMTP\r\n";
  bool Stall = false;  // accept, then never say a word
  explicit TFakeSmtpServer(int sessions = 1);
  ~TFakeSmtpServer();
  uint16_t Port() const { return FPort; }
  // Everything each session received, in order.
  std::vector<std::string> Received();
  std::vector<std::string> Messages();

  void Start();

private:
  void Run();
  int FListen = -1;
  uint16_t FPort = 0;
  int FSessions;
  std::thread FThread;
  std::mutex FMutex;
  std::vector<std::string> FReceived, FMessages;
  std::atomic<bool> FStop{false};
};

class TFakeDnsServer {
public:
  // Builds the answer to one query packet; empty = stay silent.
  std::function<std::string(const std::string& query)> Answer;
  // Sent before the answer (a stray datagram).
  std::function<std::string(const std::string& query)> Before;
  TFakeDnsServer();
  ~TFakeDnsServer();
  uint16_t Port() const { return FPort; }
  int Queries() const { return FQueries; }
  void Start();

private:
  int FSock = -1;
  uint16_t FPort = 0;
  std::thread FThread;
  std::atomic<bool> FStop{false};
  std::atomic<int> FQueries{0};
};

// A standard MX answer to the query: the question copied, then one record
// per (preference, exchange), names written uncompressed or as pointers to
// the question.
std::string DnsMxAnswer(const std::string& query, const std::vector<std::string>& exchanges, bool compress);

} // namespace rasp::test
