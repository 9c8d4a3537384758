#include "tests/crash/CrashFakeServers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace rasp::test {

namespace {

int Bound(int type, uint16_t* port) {
  int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  socklen_t len = sizeof sa;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
  *port = ntohs(sa.sin_port);
  return fd;
}

bool ReadLine(int fd, std::string& pending, std::string* line, std::atomic<bool>& stop) {
  for (;;) {
    size_t lf = pending.find("\r\n");
    if (lf != std::string::npos) {
      *line = pending.substr(0, lf + 2);
      pending.erase(0, lf + 2);
      return true;
    }
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) {
      if (stop)
        return false;
      continue;
    }
    char buf[4096];
    ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0)
      return false;
    pending.append(buf, static_cast<size_t>(n));
  }
}

void SendAll(int fd, const std::string& s) { ::send(fd, s.data(), s.size(), MSG_NOSIGNAL); }

} // namespace

TFakeSmtpServer::TFakeSmtpServer(int sessions) : FSessions(sessions) {
  FListen = Bound(SOCK_STREAM, &FPort);
  ::listen(FListen, 4);
}

void TFakeSmtpServer::Start() { FThread = std::thread([this] { Run(); }); }

TFakeSmtpServer::~TFakeSmtpServer() {
  FStop = true;
  if (FThread.joinable())
    FThread.join();
  ::close(FListen);
}

std::vector<std::string> TFakeSmtpServer::Received() {
  std::lock_guard<std::mutex> l(FMutex);
  return FReceived;
}
std::vector<std::string> TFakeSmtpServer::Messages() {
  std::lock_guard<std::mutex> l(FMutex);
  return FMessages;
}

void TFakeSmtpServer::Run() {
  for (int s = 0; s < FSessions && !FStop; ++s) {
    pollfd p{FListen, POLLIN, 0};
    while (!FStop && ::poll(&p, 1, 100) <= 0) {
    }
    if (FStop)
      return;
    int fd = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
    {
      std::lock_guard<std::mutex> l(FMutex);
      FReceived.emplace_back();
      FMessages.emplace_back();
    }
    auto record = [&](const std::string& t) {
      std::lock_guard<std::mutex> l(FMutex);
      FReceived.back() += t;
    };
    if (Stall) {
      std::string pending, line;
      while (ReadLine(fd, pending, &line, FStop))
        record(line);
      ::close(fd);
      continue;
    }
    auto reply = [&](const std::string& verb, const std::string& fallback) {
      auto it = Replies.find(verb);
      std::string r = it == Replies.end() ? fallback : it->second;
      SendAll(fd, r);
      return !r.empty() && (r[0] == '2' || r[0] == '3');
    };
    SendAll(fd, Greeting);
    std::string pending, line;
    int authStep = 0;
    while (ReadLine(fd, pending, &line, FStop)) {
      record(line);
      std::string verb = line.substr(0, line.find_first_of(" \r"));
      if (authStep == 1) {
        authStep = reply("AUTHUSER", "334 UGFzc3dvcmQ6\r\n") ? 2 : 0;
        continue;
      }
      if (authStep == 2) {
        authStep = 0;
        reply("AUTHPASS", "235 2.7.0 Authentication successful\r\n");
        continue;
      }
      if (verb == "EHLO") {
        reply("EHLO", "250-test greets you\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n");
      } else if (verb == "HELO" || verb == "RSET" || verb == "MAIL" || verb == "RCPT") {
        reply(verb, "250 OK\r\n");
      } else if (verb == "AUTH") {
        if (reply("AUTH", "334 VXNlcm5hbWU6\r\n"))
          authStep = 1;
      } else if (verb == "QUIT") {
        reply("QUIT", "221 bye\r\n");
        break;
      } else if (verb == "DATA") {
        if (!reply("DATA", "354 go ahead\r\n"))
          continue;
        std::string msg;
        while (ReadLine(fd, pending, &line, FStop)) {
          record(line);
          if (line == ".\r\n")
            break;
          msg += line;
        }
        {
          std::lock_guard<std::mutex> l(FMutex);
          FMessages.back() = msg;
        }
        reply("MESSAGE", "250 queued\r\n");
      } else {
        SendAll(fd, "500 what?\r\n");
      }
    }
    ::close(fd);
  }
}

TFakeDnsServer::TFakeDnsServer() { FSock = Bound(SOCK_DGRAM, &FPort); }

void TFakeDnsServer::Start() {
  FThread = std::thread([this] {
    while (!FStop) {
      pollfd p{FSock, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0)
        continue;
      char buf[1500];
      sockaddr_in from{};
      socklen_t len = sizeof from;
      ssize_t n = ::recvfrom(FSock, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
      if (n <= 0)
        continue;
      ++FQueries;
      if (Before) {
        std::string b = Before(std::string(buf, static_cast<size_t>(n)));
        ::sendto(FSock, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&from), len);
      }
      std::string answer = Answer ? Answer(std::string(buf, static_cast<size_t>(n))) : std::string();
      if (!answer.empty())
        ::sendto(FSock, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&from), len);
    }
  });
}

TFakeDnsServer::~TFakeDnsServer() {
  FStop = true;
  if (FThread.joinable())
    FThread.join();
  ::close(FSock);
}

std::string DnsMxAnswer(const std::string& query, const std::vector<std::string>& exchanges, bool compress) {
  std::string a = query;
  a[2] = char(0x81);
  a[3] = char(0x80);
  a[6] = 0;
  a[7] = char(exchanges.size());
  for (size_t i = 0; i < exchanges.size(); ++i) {
    std::string name;
    size_t start = 0;
    const std::string& e = exchanges[i];
    while (start < e.size()) {
      size_t dot = e.find('.', start);
      if (dot == std::string::npos)
        dot = e.size();
      name += char(dot - start);
      name += e.substr(start, dot - start);
      start = dot + 1;
    }
    name += '\0';
    if (compress)
      a += std::string("\xC0\x0C", 2);  // the question's name
    else
      a += query.substr(12, query.size() - 16);
    a += std::string("\x00\x0F\x00\x01\x00\x00\x0E\x10", 8);
    uint16_t rdlen = static_cast<uint16_t>(2 + name.size());
    a += char(rdlen >> 8);
    a += char(rdlen & 0xFF);
    a += char(0);
    a += char(10 * (i + 1));
    a += name;
  }
  return a;
}

} // namespace rasp::test
