#include "crash/delivery/CrashDns.h"

#include "crash/delivery/CrashSockets.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace rasp {

namespace {

uint16_t Be16(std::string_view s, size_t at) {
  return static_cast<uint16_t>((uint8_t(s[at]) << 8) | uint8_t(s[at + 1]));
}

// Reads the (possibly compressed) name at *pos. Only bytes inside
// [0, limit) are read; pointers must lead strictly backwards, which rules out
// loops. On success *pos is just past the name where it started.
bool ReadName(std::string_view msg, size_t* pos, size_t limit, std::string* out) {
  std::string name;
  size_t at = *pos;
  size_t after = 0;  // where the name ends in the record, once a pointer is met
  bool jumped = false;
  for (int steps = 0; steps < 256; ++steps) {
    if (at >= limit)
      return false;
    uint8_t len = uint8_t(msg[at]);
    if ((len & 0xC0) == 0xC0) {
      if (at + 1 >= limit)
        return false;
      size_t target = ((len & 0x3F) << 8) | uint8_t(msg[at + 1]);
      if (!jumped)
        after = at + 2;
      if (target >= at)
        return false;
      jumped = true;
      at = target;
      continue;
    }
    if (len & 0xC0)
      return false;
    if (len == 0) {
      if (out)
        *out = name;
      *pos = jumped ? after : at + 1;
      return true;
    }
    if (at + 1 + len > limit)
      return false;
    if (!name.empty())
      name += '.';
    name.append(msg.substr(at + 1, len));
    if (name.size() > 253)
      return false;
    at += 1 + len;
  }
  return false;
}

} // namespace

std::string CrashDnsBuildQuery(std::string_view domain, uint16_t id) {
  if (!domain.empty() && domain.back() == '.')
    domain.remove_suffix(1);
  if (domain.empty() || domain.size() > 253)
    return {};
  std::string q;
  q += char(id >> 8);
  q += char(id & 0xFF);
  q += std::string("\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00", 10);
  size_t start = 0;
  while (start <= domain.size()) {
    size_t dot = domain.find('.', start);
    if (dot == std::string_view::npos)
      dot = domain.size();
    size_t len = dot - start;
    if (len == 0 || len > 63)
      return {};
    q += char(len);
    q.append(domain.substr(start, len));
    start = dot + 1;
  }
  q += std::string("\x00\x00\x0F\x00\x01", 5);
  return q;
}

TCrashMxAnswer CrashDnsParseMx(std::string_view msg, uint16_t id, std::string* host, std::string* error) {
  auto bad = [&](const char* why) {
    if (error)
      *error = why;
    return TCrashMxAnswer::Bad;
  };
  if (msg.size() < 12)
    return bad("The DNS answer is shorter than its header.");
  if (Be16(msg, 0) != id)
    return bad("The DNS answer belongs to another query.");
  uint16_t flags = Be16(msg, 2);
  if (!(flags & 0x8000))
    return bad("The DNS packet is not an answer.");
  int rcode = flags & 0x0F;
  if (rcode == 3)
    return TCrashMxAnswer::NoDomain;
  if (rcode != 0)
    return bad("The DNS server reports an error.");
  uint16_t qd = Be16(msg, 4), an = Be16(msg, 6);
  size_t pos = 12;
  for (int i = 0; i < qd; ++i) {
    if (!ReadName(msg, &pos, msg.size(), nullptr) || pos + 4 > msg.size())
      return bad("The DNS answer's question is damaged.");
    pos += 4;
  }
  for (int i = 0; i < an; ++i) {
    if (!ReadName(msg, &pos, msg.size(), nullptr) || pos + 10 > msg.size())
      return bad(flags & 0x0200 ? "The DNS answer is truncated." : "The DNS answer record is damaged.");
    uint16_t type = Be16(msg, pos), cls = Be16(msg, pos + 2), rdlen = Be16(msg, pos + 8);
    pos += 10;
    size_t end = pos + rdlen;
    if (end > msg.size())
      return bad(flags & 0x0200 ? "The DNS answer is truncated." : "The DNS answer record is damaged.");
    if (type == 15 && cls == 1) {
      size_t at = pos + 2;
      std::string name;
      // The exchange must end inside its own record; pointers may lead back
      // anywhere earlier in the message.
      if (rdlen < 3 || !ReadName(msg.substr(0, end), &at, end, &name) || at != end)
        return bad("The DNS answer's mail exchanger cannot be read.");
      if (name.empty())
        return bad("The DNS answer names no mail exchanger.");
      if (host)
        *host = name;
      return TCrashMxAnswer::Found;
    }
    pos = end;
  }
  if (flags & 0x0200)
    return bad("The DNS answer is truncated.");
  return TCrashMxAnswer::NoMx;
}

std::vector<std::string> CrashDnsParseResolvConf(std::string_view text) {
  std::vector<std::string> out;
  std::istringstream in{std::string(text)};
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string key, value;
    ls >> key >> value;
    if (key != "nameserver" || value.empty() || value == "0.0.0.0")
      continue;
    if (value.find_first_not_of("0123456789.") != std::string::npos)
      continue;  // IPv6 servers are not asked
    out.push_back(value);
  }
  return out;
}

TCrashDnsConfig CrashDnsSystemConfig(const std::string& resolvConf) {
  TCrashDnsConfig c;
  if (const char* env = std::getenv("RASP_CRASH_RESOLVER"); env && *env) {
    std::string v = env;
    size_t colon = v.find(':');
    if (colon != std::string::npos) {
      c.Port = static_cast<uint16_t>(std::atoi(v.c_str() + colon + 1));
      v.resize(colon);
    }
    c.Servers.push_back(v);
    return c;
  }
  std::ifstream f(resolvConf);
  std::stringstream ss;
  ss << f.rdbuf();
  c.Servers = CrashDnsParseResolvConf(ss.str());
  c.Servers.push_back(CrashDnsFallbackServer);
  return c;
}

std::string CrashMxLookup(const std::string& recipient, const TCrashDnsConfig& config) {
  size_t at = recipient.find('@');
  std::string domain = at == std::string::npos ? std::string() : recipient.substr(at + 1);
  std::string failure = "Cannot resolve the \"" + domain + "\" MX record.";
  std::string query = CrashDnsBuildQuery(domain);
  if (query.empty())
    throw ECrashSocketError(failure);
  std::string reasons;
  for (const std::string& server : config.Servers) {
    try {
      TCrashClientSocket sock(server, config.TimeOutMs, false, config.Port);
      sock.Connect();
      sock.AppendTranscript("[DNS query for " + domain + "]\r\n");
      sock.Send(query);
      // Datagrams of another query are dropped; the time-out still holds.
      for (int tries = 0; tries < 8; ++tries) {
        std::string host, error;
        std::string reply = sock.ReadReply();
        switch (CrashDnsParseMx(reply, CrashDnsQueryId, &host, &error)) {
        case TCrashMxAnswer::Found: return host;
        case TCrashMxAnswer::NoMx: return domain;
        case TCrashMxAnswer::NoDomain: throw ECrashSocketError(failure + " The domain does not exist.");
        case TCrashMxAnswer::Bad: break;
        }
        reasons += "\r\n" + server + ": " + error;
        if (error.find("another query") == std::string::npos)
          break;
      }
    } catch (const ECrashSocketError& e) {
      std::string what = e.what();
      if (what.rfind(failure, 0) == 0)
        throw;
      reasons += "\r\n" + server + ": " + what.substr(0, what.find("\r\n"));
    }
  }
  throw ECrashSocketError(failure + reasons);
}

} // namespace rasp
