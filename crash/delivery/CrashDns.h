#pragma once
// The reporter's own DNS MX query over UDP, used for direct delivery to each
// recipient domain's mail exchanger. The answer comes from the network and
// is parsed with bounds checks throughout.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

inline constexpr uint16_t CrashDnsQueryId = 0x4141;  // "AA"
// Asked after the servers of /etc/resolv.conf.
inline constexpr const char* CrashDnsFallbackServer = "9.9.9.9";

// The query: header (id, recursion desired, one question), the domain as
// labels, type MX, class IN. Empty on a domain that cannot be encoded
// (empty label, label over 63 bytes, name over 253 bytes).
std::string CrashDnsBuildQuery(std::string_view domain, uint16_t id = CrashDnsQueryId);

enum class TCrashMxAnswer {
  Found,     // *host holds the first MX record's exchange
  NoMx,      // a valid answer without an MX record: the domain itself receives mail
  NoDomain,  // the server says the domain does not exist
  Bad,       // wrong id, not an answer, server failure, truncated or damaged
};
// Parses one reply to the query with the given id. *error explains Bad.
TCrashMxAnswer CrashDnsParseMx(std::string_view reply, uint16_t id, std::string* host, std::string* error);

// Where the queries go. Tests point Servers at 127.0.0.1 and leave the
// fallback out.
struct TCrashDnsConfig {
  std::vector<std::string> Servers;  // dotted IPv4 addresses, tried in order
  uint16_t Port = 53;
  int TimeOutMs = 30000;
};
// The machine's servers from /etc/resolv.conf (IPv4, without 0.0.0.0), then
// the fixed fallback. RASP_CRASH_RESOLVER="address[:port]" replaces the
// whole list (for tests).
TCrashDnsConfig CrashDnsSystemConfig(const std::string& resolvConf = "/etc/resolv.conf");
std::vector<std::string> CrashDnsParseResolvConf(std::string_view text);

// The host that receives mail for the recipient's domain (the text after
// its first "@"). Throws ECrashSocketError "Cannot resolve the \"%s\" MX
// record." when no server gives one.
std::string CrashMxLookup(const std::string& recipient, const TCrashDnsConfig& config);

} // namespace rasp
