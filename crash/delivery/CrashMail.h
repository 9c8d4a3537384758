#pragma once
// The report mail: recipients, headers, the MIME multipart body with base64
// attachments, and the DATA transparency of SMTP.
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

inline constexpr const char* CrashMailBoundary = "=_xcjvnxkbhvfkxzhfdbvzldjhfv";
inline constexpr const char* CrashMailLibraryVersion = "4.6";

// "," and ";" each end one recipient, trimmed; empty recipients stay.
std::vector<std::string> CrashSplitRecipients(std::string_view text);
// "Wed, 9 Dec 2026 11:20:12 +0530": RFC 5322, local time with the zone's
// exact offset (the log's dates drop a half hour; a mail date must not).
std::string CrashMailDate(std::time_t when);
// A header value as RFC 2047 wants it: ASCII as it is, anything else as
// UTF-8 encoded words ("=?UTF-8?B?...?="), each at most 75 characters,
// folded onto lines of their own.
std::string CrashMailEncodeHeader(std::string_view value);
// A text part's body: as it is when it is 7-bit ASCII, else quoted-printable.
// `encoding` gets the Content-Transfer-Encoding to declare.
std::string CrashMailTextBody(std::string_view text, std::string& encoding);
// Every CR LF, lone CR and lone LF becomes CR LF.
std::string CrashNormaliseLines(std::string_view text);
// Doubles the "." that starts a line (the text ends lines with CR LF).
std::string CrashDotStuff(std::string_view text);

struct TCrashMailParts {
  std::string From;
  std::string Subject;
  std::string To;
  std::string Body;
  std::vector<std::string> Attachments;  // file paths; missing files are left out
  std::time_t When = 0;
  std::string MessageId;  // "<...@...>"; empty: made from the time, the process and a random number
};
// A fresh Message-ID for a mail sent from `host`.
std::string CrashMailMessageId(const std::string& host);
// The whole DATA phase text: headers, body, attachments, transparency, and
// the final "." CR LF. Attachments that cannot be read are left out.
std::string CrashBuildMessage(const TCrashMailParts& parts);

// The body: EmailMessage, then three line breaks and the report when the
// report goes into the body.
std::string CrashMailBody(const std::string& emailMessage, const std::string& mailText, bool logInBody);

// "%" + two upper-case hex digits for every byte but "-", digits, ASCII
// letters and bytes from 128 up.
std::string CrashMailtoEncode(std::string_view text);
std::string CrashMailtoLink(const std::string& addresses, const std::string& subject, const std::string& body);

} // namespace rasp
