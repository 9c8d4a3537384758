// Report delivery against servers of the test's own on 127.0.0.1.
#include "crash/delivery/CrashBase64.h"
#include "crash/delivery/CrashDelivery.h"
#include "crash/delivery/CrashDns.h"
#include "crash/delivery/CrashMail.h"
#include "crash/modules/CrashOptions.h"
#include "crash/delivery/CrashSockets.h"
#include "tests/crash/CrashFakeServers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace rasp {
namespace {

namespace fs = std::filesystem;
using test::DnsMxAnswer;
using test::TFakeDnsServer;
using test::TFakeSmtpServer;

std::string Slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

struct MailFixture : ::testing::Test {
  TCrashModuleOptions O{"/opt/app/prog", false};
  TCrashDeliveryEnv Env;
  fs::path Tmp;
  std::vector<std::string> Texts;
  TCrashDeliveryProgress Progress;

  void SetUp() override {
    Tmp = fs::temp_directory_path() / ("rasp-mail-test-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Tmp);
    fs::create_directories(Tmp);
    Env.Dns.Servers.clear();  // never the machine's resolver
    Env.TempFolder = Tmp.string();
    Env.LocalHost = "tester";
    Env.SMTPTimeOutMs = 3000;
    O.SetEmailSendMode(esmSMTPServer);
    O.SetSMTPHost("127.0.0.1");
    O.SetSMTPFrom("crash@prog.test");
    O.SetEmailAddresses("authors@prog.test");
    O.SetEmailSubject("Crash report");
    O.SetEmailMessage("Hello.");
    Progress.Text = [this](const std::string& t) { Texts.push_back(t); };
  }
  void TearDown() override {
    // Nothing of the delivery stays behind in the temporary folder.
    EXPECT_TRUE(fs::is_empty(Tmp) || HasOnlyTestFiles());
    fs::remove_all(Tmp);
  }
  bool HasOnlyTestFiles() {
    for (auto& e : fs::directory_iterator(Tmp))
      if (e.path().filename().string().rfind("rasp-crash-", 0) == 0)
        return false;
    return true;
  }
  TCrashDeliveryResult Send(const std::string& log = "line one\r\nline two\r\n", const std::string& png = "") {
    TCrashDeliveryInput in;
    in.MailText = log;
    in.LogText = log;
    in.ScreenshotPng = png;
    return CrashSendReport(O, in, Progress, Env);
  }
};

TEST(CrashBase64, LinesOfEightyCharacters) {
  EXPECT_EQ(CrashBase64Lines("1234567"), "MTIzNDU2Nw==\r\n");
  EXPECT_EQ(CrashBase64("foobar"), "Zm9vYmFy");
  EXPECT_EQ(CrashBase64("fooba"), "Zm9vYmE=");
  EXPECT_EQ(CrashBase64("f"), "Zg==");
  EXPECT_EQ(CrashBase64Lines(""), "");
  std::string sixty(60, 'x'), line = CrashBase64Lines(sixty);
  EXPECT_EQ(line.size(), 82u);
  EXPECT_EQ(line.find("\r\n"), 80u);
  std::string two = CrashBase64Lines(sixty + "y");
  EXPECT_EQ(two.substr(82), "eQ==\r\n");
}

TEST(CrashMailText, RecipientsLinesAndDots) {
  EXPECT_EQ(CrashSplitRecipients(" a@x ; b@y,c@z "), (std::vector<std::string>{"a@x", "b@y", "c@z"}));
  EXPECT_EQ(CrashSplitRecipients("a@x;;b@y;"), (std::vector<std::string>{"a@x", "", "b@y"}));
  EXPECT_EQ(CrashNormaliseLines("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(CrashDotStuff(".\r\n.a\r\nb.\r\n"), "..\r\n..a\r\nb.\r\n");
  EXPECT_EQ(CrashMailtoEncode("a b-1\r\n\xE9&"), "a%20b-1%0D%0A\xE9%26");
  EXPECT_EQ(CrashMailBody("Hi", "REPORT", true), "Hi\r\n\r\n\r\nREPORT");
  EXPECT_EQ(CrashMailBody("Hi", "REPORT", false), "Hi");
}

TEST(CrashMailText, HeadersAndBodyMailProgramsAccept) {
  // RFC 2047: non-ASCII subjects as UTF-8 encoded words of at most 75
  // characters, never splitting a character.
  EXPECT_EQ(CrashMailEncodeHeader("Crash report"), "Crash report");
  EXPECT_EQ(CrashMailEncodeHeader("Absturz \xC3\xBC"), "=?UTF-8?B?" + CrashBase64("Absturz \xC3\xBC") + "?=");
  std::string subject;
  for (int i = 0; i < 30; ++i) subject += "\xC3\xA9";  // 60 bytes of two-byte characters
  std::string encoded = CrashMailEncodeHeader(subject);
  size_t fold = encoded.find("\r\n ");
  ASSERT_NE(fold, std::string::npos);
  EXPECT_LE(fold, 75u);
  EXPECT_EQ(encoded.substr(0, fold), "=?UTF-8?B?" + CrashBase64(subject.substr(0, 44)) + "?=");
  // The date keeps a half-hour zone.
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "IST-5:30", 1);
  tzset();
  EXPECT_EQ(CrashMailDate(0), "Thu, 1 Jan 1970 05:30:00 +0530");
  if (old) setenv("TZ", saved.c_str(), 1);
  else unsetenv("TZ");
  tzset();
  EXPECT_NE(CrashMailMessageId("prog.test"), CrashMailMessageId("prog.test"));
  // A body with UTF-8 goes quoted-printable; ASCII stays as it is.
  std::string encoding;
  EXPECT_EQ(CrashMailTextBody("plain", encoding), "plain");
  EXPECT_EQ(encoding, "7bit");
  EXPECT_EQ(CrashMailTextBody("Gr\xC3\xB6\xC3\x9F" "e = 1 \r\nnext", encoding), "Gr=C3=B6=C3=9Fe =3D 1=20\r\nnext");
  EXPECT_EQ(encoding, "quoted-printable");
  std::string longLine(200, 'x');
  std::string qp = CrashMailTextBody(longLine + "\xC3\xA9", encoding);
  for (size_t at = 0, next; at < qp.size(); at = next + 2) {
    next = qp.find("\r\n", at);
    if (next == std::string::npos) next = qp.size();
    EXPECT_LE(next - at, 76u);
  }
}

TEST(CrashMailText, MessageCannotEndEarly) {
  TCrashMailParts p;
  p.From = "f@x";
  p.Subject = "S\r\nBcc: evil@x";  // a line break cannot add a header
  p.To = "t@x";
  p.Body = "one\n.\ntwo\r.\r\n..three";
  std::string m = CrashBuildMessage(p);
  EXPECT_NE(m.find("Subject: S  Bcc: evil@x\r\n"), std::string::npos);
  EXPECT_NE(m.find("\r\none\r\n..\r\ntwo\r\n..\r\n...three\r\n"), std::string::npos);
  EXPECT_EQ(m.find("\r\n.\r\n"), m.size() - 5);  // only the end marker
  EXPECT_EQ(m.find('\n'), m.find("\r\n") + 1);
  for (size_t i = 0; i < m.size(); ++i) {
    if (m[i] == '\n') {
      ASSERT_EQ(m[i - 1], '\r') << i;
    }
  }
}

TEST_F(MailFixture, DialogueWithLogAndScreenshot) {
  TFakeSmtpServer s;
  s.Start();
  O.SetSMTPPort(s.Port());
  auto r = Send("report\n.\nend\n", std::string("\x89PNG\r\n\x1a\n", 8));
  ASSERT_TRUE(r.Ok()) << r.Message;
  EXPECT_EQ(r.Delivered, 1);
  std::string got = s.Received().at(0);
  // EHLO even without credentials: only its answer can offer STARTTLS.
  EXPECT_EQ(got.substr(0, got.find("DATA\r\n") + 6),
            "EHLO tester\r\nRSET\r\nMAIL FROM:<crash@prog.test>\r\nRCPT TO:<authors@prog.test>\r\nDATA\r\n");
  EXPECT_EQ(got.find("AUTH"), std::string::npos);
  EXPECT_NE(got.find("\r\nQUIT\r\n"), std::string::npos);
  std::string m = s.Messages().at(0);
  EXPECT_EQ(m.find("Date: "), 0u);
  EXPECT_TRUE(std::regex_search(m, std::regex("\r\nFrom: <crash@prog.test>\r\nSubject: Crash report\r\n"
                                              "To: <authors@prog.test>\r\nMessage-ID: <[^@> ]+@prog\\.test>\r\n"
                                              "Content-Type: multipart/mixed; boundary=\"=_xcjvnxkbhvfkxzhfdbvzldjhfv\";"
                                              "\r\nMIME-Version: 1.0\r\nX-Priority: 1\r\nX-Library: Crashwise 4.6\r\n"
                                              "\r\nThis is a multi-part message in MIME format\r\n")))
      << m.substr(0, 600);
  EXPECT_NE(m.find("Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: 7bit\r\n\r\nHello.\r\n"),
            std::string::npos);
  EXPECT_NE(m.find("Content-Type: application/octet-stream;\r\n        name=\"prog.cwf\"\r\n"
                   "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n"
                   "        filename=\"prog.cwf\"\r\n\r\n" + CrashBase64Lines("report\n.\nend\n")),
            std::string::npos);
  EXPECT_NE(m.find("Content-Type: image/png;\r\n        name=\"Screenshot.png\"\r\n"), std::string::npos);
  EXPECT_NE(m.find(CrashBase64Lines(std::string("\x89PNG\r\n\x1a\n", 8))), std::string::npos);
  EXPECT_EQ(m.substr(m.size() - 34), "--=_xcjvnxkbhvfkxzhfdbvzldjhfv--\r\n");
  EXPECT_EQ(Texts, (std::vector<std::string>{"Message 1/1: Connecting with SMTP server...",
                                             "Message 1/1: Connected with SMTP server.",
                                             "Message 1/1: Sending message..."}));
}

TEST_F(MailFixture, ReportInBodyIsDotStuffedAndHasNoAttachment) {
  TFakeSmtpServer s;
  s.Start();
  O.SetSMTPPort(s.Port());
  O.SetLogInMessageBody(true);
  auto r = Send("first\n.\nlast");
  ASSERT_TRUE(r.Ok()) << r.Message;
  std::string got = s.Received().at(0);
  EXPECT_NE(got.find("\r\nHello.\r\n\r\n\r\nfirst\r\n..\r\nlast\r\n"), std::string::npos);
  EXPECT_EQ(s.Messages().at(0).find("attachment"), std::string::npos);
}

TEST_F(MailFixture, AuthLoginAndTheTranscriptKeepsNoSecret) {
  TFakeSmtpServer s;
  s.Replies["RCPT"] = "550 5.1.1 no such user\r\n";
  s.Start();
  O.SetSMTPPort(s.Port());
  O.SetSMTPUserID("reporter");
  O.SetSMTPPassword("s3cr3t-pw");
  O.SetSMTPWithoutTLS(stAllowed);  // this server has no TLS
  auto r = Send();
  ASSERT_EQ(r.Code, TCrashDeliveryCode::eeEmailSMTPError);
  EXPECT_EQ(r.Step, "SMTP");
  std::string got = s.Received().at(0);
  EXPECT_EQ(got.substr(0, got.find("RCPT")), "EHLO tester\r\nRSET\r\nAUTH LOGIN\r\n" + CrashBase64("reporter") +
                                                 "\r\n" + CrashBase64("s3cr3t-pw") +
                                                 "\r\nMAIL FROM:<crash@prog.test>\r\n");
  // The failure carries the transcript, multi-line EHLO reply included,
  // but neither credential.
  EXPECT_NE(r.Message.find("250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n"), std::string::npos);
  EXPECT_NE(r.Message.find("550 5.1.1 no such user"), std::string::npos);
  EXPECT_NE(r.Message.find(CrashRedactedLine), std::string::npos);
  EXPECT_EQ(r.Message.find(CrashBase64("s3cr3t-pw")), std::string::npos);
  EXPECT_EQ(r.Message.find("s3cr3t-pw"), std::string::npos);
  EXPECT_EQ(r.Message.find(CrashBase64("reporter")), std::string::npos);
}

TEST_F(MailFixture, RcptAnswered251IsAccepted) {
  TFakeSmtpServer s;
  s.Replies["RCPT"] = "251 User not local; will forward\r\n";
  s.Greeting = "220-first line\r\n220-second line\r\n220 ready\r\n";
  s.Start();
  O.SetSMTPPort(s.Port());
  auto r = Send();
  EXPECT_TRUE(r.Ok()) << r.Message;
}

TEST_F(MailFixture, FailureAtEveryPhase) {
  O.SetSMTPWithoutTLS(stAllowed);  // these servers have no TLS
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"GREETING", "421 busy\r\n"},   {"HELO", "501 bad helo\r\n"}, {"RSET", "502 no\r\n"},
      {"MAIL", "451 try later\r\n"},  {"RCPT", "550 unknown\r\n"},  {"DATA", "554 no data\r\n"},
      {"MESSAGE", "452 full\r\n"},    {"AUTH", "504 no auth\r\n"},  {"AUTHPASS", "535 bad password\r\n"},
      {"EHLO", "500-not\r\n500 known\r\n"},
  };
  for (auto& [phase, reply] : cases) {
    SCOPED_TRACE(phase);
    TFakeSmtpServer s;
    if (phase == "GREETING")
      s.Greeting = reply;
    else
      s.Replies[phase] = reply;
    if (phase == "HELO")  // HELO only follows an EHLO the server does not know
      s.Replies["EHLO"] = "502 command not implemented\r\n";
    s.Start();
    O.SetSMTPPort(s.Port());
    bool auth = phase == "AUTH" || phase == "AUTHPASS" || phase == "EHLO";
    O.SetSMTPUserID(auth ? "u" : "");
    O.SetSMTPPassword(auth ? "p" : "");
    auto r = Send();
    EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailSMTPError);
    EXPECT_EQ(r.Delivered, 0);
    EXPECT_NE(r.Message.find(reply), std::string::npos) << r.Message;
    if (phase != "MESSAGE" && !s.Messages().empty()) {
      EXPECT_TRUE(s.Messages().at(0).empty());
    }
  }
}

// A server without TLS never sees the password; one that knows no EHLO
// still gets a report that carries no credentials, through HELO.
TEST_F(MailFixture, WithoutStartTlsThePasswordStaysHome) {
  TFakeSmtpServer s;
  s.Start();
  O.SetSMTPPort(s.Port());
  O.SetSMTPUserID("reporter");
  O.SetSMTPPassword("s3cr3t-pw");
  auto r = Send();
  EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailSMTPError);
  EXPECT_NE(r.Message.find("offers no STARTTLS"), std::string::npos) << r.Message;
  std::string got = s.Received().at(0);
  EXPECT_EQ(got.find("AUTH"), std::string::npos) << got;
  EXPECT_EQ(got.find("MAIL FROM"), std::string::npos) << got;

  TFakeSmtpServer old;
  old.Replies["EHLO"] = "500 unknown command\r\n";
  old.Start();
  O.SetSMTPPort(old.Port());
  O.SetSMTPUserID("");
  O.SetSMTPPassword("");
  r = Send();
  ASSERT_TRUE(r.Ok()) << r.Message;
  got = old.Received().at(0);
  EXPECT_EQ(got.substr(0, got.find("MAIL")), "EHLO tester\r\nHELO tester\r\nRSET\r\n");

  // Refused outright, even without credentials.
  TFakeSmtpServer strict;
  strict.Start();
  O.SetSMTPPort(strict.Port());
  O.SetSMTPWithoutTLS(stRefused);
  r = Send();
  EXPECT_NE(r.Message.find("offers no STARTTLS"), std::string::npos) << r.Message;
}

TEST_F(MailFixture, StallingServerTimesOut) {
  TFakeSmtpServer s;
  s.Stall = true;
  s.Start();
  O.SetSMTPPort(s.Port());
  Env.SMTPTimeOutMs = 300;
  auto t0 = std::chrono::steady_clock::now();
  auto r = Send();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailSMTPError);
  EXPECT_EQ(r.Message.find("Socket timeout."), 0u) << r.Message;
  EXPECT_NE(r.Message.find("Socket log:\r\nConnected to 127.0.0.1 port"), std::string::npos);
  EXPECT_LT(ms, 5000);
}

TEST_F(MailFixture, HostsThatDoNotResolveNeverMeanZeroAddress) {
  O.SetSMTPHost("");
  auto r = Send();
  EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailSMTPError);
  EXPECT_NE(r.Message.find("Cannot resolve an empty host name."), std::string::npos);
  O.SetSMTPHost("0.0.0.0");
  r = Send();
  EXPECT_NE(r.Message.find("resolves to 0.0.0.0"), std::string::npos) << r.Message;
  EXPECT_THROW(CrashResolveHost("0.0.0.0"), ECrashSocketError);
  // A closed port: the connection error, not a hang.
  O.SetSMTPHost("127.0.0.1");
  O.SetSMTPPort(1);
  r = Send();
  EXPECT_EQ(r.Message.find("Connection error: "), 0u) << r.Message;
}

TEST_F(MailFixture, DirectDeliveryToTwoDomains) {
  TFakeSmtpServer s(2);
  s.Start();
  TFakeDnsServer dns;
  std::vector<std::string> asked;
  dns.Answer = [&](const std::string& q) {
    bool two = q.find("\x03two") != std::string::npos;
    asked.push_back(two ? "two" : "one");
    return DnsMxAnswer(q, {"127.0.0.1"}, two);
  };
  dns.Start();
  Env.Dns.Servers = {"127.0.0.1"};
  Env.Dns.Port = dns.Port();
  Env.Dns.TimeOutMs = 2000;
  O.SetEmailSendMode(esmSMTPClient);
  O.SetSMTPPort(s.Port());
  O.SetEmailAddresses("a@one.test;b@two.test");
  auto r = Send();
  ASSERT_TRUE(r.Ok()) << r.Message;
  EXPECT_EQ(r.Delivered, 2);
  EXPECT_EQ(asked, (std::vector<std::string>{"one", "two"}));
  auto got = s.Received();
  EXPECT_NE(got.at(0).find("RCPT TO:<a@one.test>"), std::string::npos);
  EXPECT_NE(got.at(1).find("RCPT TO:<b@two.test>"), std::string::npos);
  EXPECT_NE(s.Messages().at(1).find("To: <b@two.test>"), std::string::npos);
  ASSERT_EQ(Texts.size(), 8u);
  EXPECT_EQ(Texts[0], "Message 1/2: Resolving MX record...");
  EXPECT_EQ(Texts[4], "Message 2/2: Resolving MX record...");
  EXPECT_EQ(Texts[7], "Message 2/2: Sending message...");
}

TEST_F(MailFixture, MxLookupFailureIsReported) {
  O.SetEmailSendMode(esmSMTPClient);
  O.SetEmailAddresses("a@one.test");
  TFakeDnsServer dns;
  dns.Start();  // never answers
  Env.Dns.Servers = {"127.0.0.1"};
  Env.Dns.Port = dns.Port();
  Env.Dns.TimeOutMs = 200;
  auto r = Send();
  EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailSMTPError);
  EXPECT_EQ(r.Message.find("Cannot resolve the \"one.test\" MX record."), 0u) << r.Message;
  EXPECT_NE(r.Message.find("Socket timeout."), std::string::npos);
}

// ---- DNS answers -------------------------------------------------------

TEST(CrashDns, QueryLayout) {
  EXPECT_EQ(CrashDnsBuildQuery("ab.c"), std::string("AA\x01\x00\x00\x01\x00\x00\x00\x00\x00\x00"
                                                    "\x02" "ab\x01" "c\x00\x00\x0F\x00\x01",
                                                    22));
  EXPECT_EQ(CrashDnsBuildQuery(""), "");
  EXPECT_EQ(CrashDnsBuildQuery("a..b"), "");
  EXPECT_EQ(CrashDnsBuildQuery(std::string(64, 'x') + ".c"), "");
}

TEST(CrashDns, AnswersGoodAndBad) {
  const std::string q = CrashDnsBuildQuery("prog.test");
  std::string host, err;
  EXPECT_EQ(CrashDnsParseMx(DnsMxAnswer(q, {"mx1.prog.test", "mx2.prog.test"}, true), 0x4141, &host, &err),
            TCrashMxAnswer::Found);
  EXPECT_EQ(host, "mx1.prog.test");
  EXPECT_EQ(CrashDnsParseMx(DnsMxAnswer(q, {"mx.prog.test"}, false), 0x4141, &host, &err), TCrashMxAnswer::Found);
  EXPECT_EQ(host, "mx.prog.test");
  // The exchange itself compressed: "mail" + pointer to "prog.test" in the question.
  std::string a = DnsMxAnswer(q, {}, true);
  a[7] = 1;
  a += std::string("\xC0\x0C\x00\x0F\x00\x01\x00\x00\x00\x10\x00\x09\x00\x05\x04mail\xC0\x11", 21);
  EXPECT_EQ(CrashDnsParseMx(a, 0x4141, &host, &err), TCrashMxAnswer::Found);
  EXPECT_EQ(host, "mail.test");
  // Wrong id, a query instead of an answer, server failure, no domain.
  EXPECT_EQ(CrashDnsParseMx(DnsMxAnswer(q, {"m"}, true), 0x4142, &host, &err), TCrashMxAnswer::Bad);
  EXPECT_EQ(CrashDnsParseMx(q, 0x4141, &host, &err), TCrashMxAnswer::Bad);
  std::string fail = DnsMxAnswer(q, {}, true);
  fail[3] = char(0x82);
  EXPECT_EQ(CrashDnsParseMx(fail, 0x4141, &host, &err), TCrashMxAnswer::Bad);
  fail[3] = char(0x83);
  EXPECT_EQ(CrashDnsParseMx(fail, 0x4141, &host, &err), TCrashMxAnswer::NoDomain);
  // No MX: the domain itself (its A record) receives mail.
  EXPECT_EQ(CrashDnsParseMx(DnsMxAnswer(q, {}, true), 0x4141, &host, &err), TCrashMxAnswer::NoMx);
  // A CNAME before the MX is skipped, not misread.
  std::string c = DnsMxAnswer(q, {}, true);
  c[7] = 2;
  c += std::string("\xC0\x0C\x00\x05\x00\x01\x00\x00\x00\x10\x00\x04\x01x\xC0\x0C", 16);
  c += std::string("\xC0\x0C\x00\x0F\x00\x01\x00\x00\x00\x10\x00\x05\x00\x01\x01y\x00", 17);
  EXPECT_EQ(CrashDnsParseMx(c, 0x4141, &host, &err), TCrashMxAnswer::Found);
  EXPECT_EQ(host, "y");
}

TEST(CrashDns, TruncatedLoopingAndGarbageAnswers) {
  const std::string q = CrashDnsBuildQuery("prog.test");
  const std::string full = DnsMxAnswer(q, {"mx.prog.test"}, true);
  for (size_t n = 0; n < full.size(); ++n) {
    std::string host;
    EXPECT_NE(CrashDnsParseMx(full.substr(0, n), 0x4141, &host, nullptr), TCrashMxAnswer::Found) << n;
  }
  // A pointer to itself and two pointers to each other.
  std::string loop = DnsMxAnswer(q, {}, true);
  loop[7] = 1;
  size_t at = loop.size();
  loop += std::string("\xC0\x0C\x00\x0F\x00\x01\x00\x00\x00\x10\x00\x04\x00\x01", 14);
  loop += char(0xC0);
  loop += char(at + 14);
  std::string host, err;
  EXPECT_EQ(CrashDnsParseMx(loop, 0x4141, &host, &err), TCrashMxAnswer::Bad);
  std::string fwd = DnsMxAnswer(q, {}, true);
  fwd[7] = 1;
  fwd += std::string("\xC0\x0C\x00\x0F\x00\x01\x00\x00\x00\x10\x00\x04\x00\x01\xC0\x7F", 16);
  EXPECT_EQ(CrashDnsParseMx(fwd, 0x4141, &host, &err), TCrashMxAnswer::Bad);
  // The truncation flag with a cut answer section.
  std::string tc = full.substr(0, full.size() - 3);
  tc[2] = char(tc[2] | 0x02);
  EXPECT_EQ(CrashDnsParseMx(tc, 0x4141, &host, &err), TCrashMxAnswer::Bad);
  EXPECT_NE(err.find("truncated"), std::string::npos);
  // Random bytes behind a valid header never read out of bounds (ASan).
  uint32_t seed = 12345;
  for (int i = 0; i < 2000; ++i) {
    std::string g = full.substr(0, 12);
    for (int k = 0; k < 60; ++k) {
      seed = seed * 1103515245 + 12345;
      g += char(seed >> 16);
    }
    CrashDnsParseMx(g, 0x4141, &host, &err);
  }
}

TEST(CrashDns, LookupSkipsForeignAnswersAndFallsBackToTheDomain) {
  TFakeDnsServer dns;
  dns.Before = [](const std::string& q) {
    std::string wrong = DnsMxAnswer(q, {"evil.test"}, true);
    wrong[1] = 'B';
    return wrong;
  };
  dns.Answer = [&](const std::string& q) {
    if (q.find("\x04nomx") != std::string::npos)
      return DnsMxAnswer(q, {}, true);
    return DnsMxAnswer(q, {"mx.prog.test"}, true);
  };
  dns.Start();
  TCrashDnsConfig c;
  c.Servers = {"127.0.0.1"};
  c.Port = dns.Port();
  c.TimeOutMs = 2000;
  EXPECT_EQ(CrashMxLookup("x@prog.test", c), "mx.prog.test");
  EXPECT_EQ(CrashMxLookup("x@nomx.test", c), "nomx.test");
  EXPECT_THROW(CrashMxLookup("no-at-sign", c), ECrashSocketError);
}

TEST(CrashDns, GarbageServerGivesNoHost) {
  TFakeDnsServer garbage;
  garbage.Answer = [](const std::string&) { return std::string("\x41\x41\x81\x80garbage", 11); };
  garbage.Start();
  TFakeDnsServer good;
  good.Answer = [](const std::string& q) { return DnsMxAnswer(q, {"mx.prog.test"}, false); };
  good.Start();
  TCrashDnsConfig c;
  c.Servers = {"127.0.0.1", "127.0.0.1"};
  c.TimeOutMs = 2000;
  c.Port = garbage.Port();
  // Both entries go to the same port: the garbage server gives no host.
  EXPECT_THROW(CrashMxLookup("x@prog.test", c), ECrashSocketError);
  c.Port = good.Port();
  EXPECT_EQ(CrashMxLookup("x@prog.test", c), "mx.prog.test");
  EXPECT_EQ(garbage.Queries(), 2);
}

TEST(CrashDns, ResolvConf) {
  EXPECT_EQ(CrashDnsParseResolvConf("# c\nnameserver 10.0.0.1\nnameserver 0.0.0.0\nnameserver ::1\n"
                                    "search x\nnameserver 192.168.1.1 # home\n"),
            (std::vector<std::string>{"10.0.0.1", "192.168.1.1"}));
  ::setenv("RASP_CRASH_RESOLVER", "127.0.0.1:5353", 1);
  TCrashDnsConfig c = CrashDnsSystemConfig("/nonexistent");
  ::unsetenv("RASP_CRASH_RESOLVER");
  EXPECT_EQ(c.Servers, std::vector<std::string>{"127.0.0.1"});
  EXPECT_EQ(c.Port, 5353);
  c = CrashDnsSystemConfig("/nonexistent");
  EXPECT_EQ(c.Servers, std::vector<std::string>{CrashDnsFallbackServer});
}

// ---- the user's mail client -------------------------------------------

struct ClientFixture : MailFixture {
  std::string OldPath;
  void SetUp() override {
    MailFixture::SetUp();
    O.SetEmailSendMode(esmEmailClient);
    O.SetEmailAddresses("a@x.test; b@y.test");
    OldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    fs::create_directories(Tmp / "bin");
    ::setenv("PATH", ((Tmp / "bin").string() + ":" + OldPath).c_str(), 1);
  }
  void TearDown() override {
    ::setenv("PATH", OldPath.c_str(), 1);
    fs::remove_all(Tmp / "bin");
    fs::remove(Tmp / "args");
    fs::remove(Tmp / "attached");
    fs::remove(Tmp / "link");
    MailFixture::TearDown();
  }
  void Script(const std::string& name, const std::string& body) {
    fs::path p = Tmp / "bin" / name;
    std::ofstream(p) << "#!/bin/sh\n" << body;
    fs::permissions(p, fs::perms::owner_all);
  }
};

TEST_F(ClientFixture, MailClientGetsSubjectBodyAttachmentsAndRecipients) {
  Script("xdg-email", "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + (Tmp / "args").string() +
                          "\nwhile [ $# -gt 0 ]; do [ \"$1\" = --attach ] && cat \"$2\" >> " +
                          (Tmp / "attached").string() + "; shift; done\nexit 0\n");
  auto r = Send("THE REPORT");
  ASSERT_TRUE(r.Ok()) << r.Message;
  std::string args = Slurp(Tmp / "args");
  EXPECT_EQ(args.find("--utf8\n--subject\nCrash report\n--body\nHello.\n--attach\n"), 0u) << args;
  EXPECT_NE(args.find("/prog.cwf\na@x.test\nb@y.test\n"), std::string::npos) << args;
  EXPECT_EQ(Slurp(Tmp / "attached"), "THE REPORT");
}

TEST_F(ClientFixture, FailingClientFallsBackToMailto) {
  Script("xdg-email", "exit 3\n");
  Script("xdg-open", "printf '%s' \"$1\" > " + (Tmp / "link").string() + "\n");
  O.SetEmailSubject("Crash & more");
  auto r = Send("R 1");
  EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailMAPIError);
  EXPECT_EQ(Slurp(Tmp / "link"), "mailto:a@x.test; b@y.test?Subject=Crash%20%26%20more&Body=Hello%2E%0D%0A%0D%0A%0D%0AR%201");
  Script("xdg-open", "exit 4\n");
  r = Send("R 1");
  EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailShellError);
  EXPECT_NE(r.Message.find("exit code 4"), std::string::npos);
}

TEST_F(ClientFixture, MissingClientAndOpener) {
  Env.MailClient = "rasp-no-such-mail-client";
  Env.Opener = "rasp-no-such-opener";
  auto r = Send();
  EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailShellError);
  EXPECT_NE(r.Message.find("rasp-no-such-opener"), std::string::npos) << r.Message;
}

} // namespace
} // namespace rasp

namespace rasp {
namespace {

// The failing test program, stamped to mail over SMTP to our server with no
// dialog, sends its report with the crash log attached.
TEST(CrashMailEndToEnd, StampedProgramMailsItsReport) {
  fs::path dir = fs::temp_directory_path() / ("rasp-mail-e2e-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  test::TFakeSmtpServer s;
  s.Start();
  fs::path app = dir / "crash_test_app";
  fs::copy_file(CRASH_TEST_APP, app);
  std::ofstream(dir / "mail.ini") << "[Options]\nShowDialog=0\nSaveLogFile=1\nEmailSendMode=2\n"
                                  << "SMTPHost=127.0.0.1\nSMTPPort=" << s.Port()
                                  << "\nEmailAddresses=authors@prog.test\nEmailSubject=Crash of the test\n";
  std::string stamp = std::string("ASAN_OPTIONS=detect_leaks=0 ") + CRASHBLOCK_TOOL + " stamp " + app.string() + " " +
                      (dir / "mail.ini").string() + " > /dev/null";
  ASSERT_EQ(std::system(stamp.c_str()), 0);
  std::string run = "cd " + dir.string() + " && ASAN_OPTIONS=detect_leaks=0:handle_segv=0 TMPDIR=" + dir.string() +
                    " " + app.string() + " --out " + dir.string() + " segv > out.txt 2> err.txt";
  std::system(run.c_str());
  ASSERT_FALSE(s.Messages().empty()) << Slurp(dir / "err.txt");
  std::string m = s.Messages().at(0);
  EXPECT_NE(m.find("Subject: Crash of the test\r\n"), std::string::npos);
  EXPECT_NE(m.find("name=\"crash_test_app.cwf\""), std::string::npos) << m.substr(0, 2000);
  std::string log = Slurp(dir / "crash_test_app.cwf");
  EXPECT_FALSE(log.empty());
  // The temporary copy of the log is gone.
  for (auto& e : fs::directory_iterator(dir))
    EXPECT_NE(e.path().filename().string().rfind("rasp-crash-", 0), 0u) << e.path();
  fs::remove_all(dir);
}

// A mail server that never answers: the report's time limit ends the
// program, and the copies of the log made for the mail go with it. The
// entry itself is in the log already.
TEST(CrashMailEndToEnd, TheTimeLimitLeavesNoTemporaryCopies) {
  fs::path dir = fs::temp_directory_path() / ("rasp-mail-limit-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  test::TFakeSmtpServer s;
  s.Stall = true;
  s.Start();
  fs::path app = dir / "crash_test_app";
  fs::copy_file(CRASH_TEST_APP, app);
  std::ofstream(dir / "mail.ini") << "[Options]\nShowDialog=0\nEmailSendMode=2\nSMTPHost=127.0.0.1\nSMTPPort="
                                  << s.Port() << "\nEmailAddresses=authors@prog.test\n";
  std::string stamp = std::string("ASAN_OPTIONS=detect_leaks=0 ") + CRASHBLOCK_TOOL + " stamp " + app.string() + " " +
                      (dir / "mail.ini").string() + " > /dev/null";
  ASSERT_EQ(std::system(stamp.c_str()), 0);
  std::string run = "cd " + dir.string() + " && ulimit -c 0 && ASAN_OPTIONS=detect_leaks=0:handle_segv=0 TMPDIR=" +
                    dir.string() + " " + app.string() + " --out " + dir.string() +
                    " --limit 2500 segv > out.txt 2> err.txt";
  std::system(run.c_str());
  std::string err = Slurp(dir / "err.txt");
  EXPECT_NE(err.find("the report does not finish"), std::string::npos) << err;
  EXPECT_FALSE(Slurp(dir / "crash_test_app.cwf").empty()) << "the entry was stored before the mail";
  for (auto& e : fs::directory_iterator(dir))
    EXPECT_NE(e.path().filename().string().rfind("rasp-crash-", 0), 0u) << e.path();
  fs::remove_all(dir);
}

// ---- STARTTLS against a server with a certificate the test made -------

class MailTls : public ::testing::Test {
protected:
  void SetUp() override {
    if (std::system("command -v python3 > /dev/null && command -v openssl > /dev/null") != 0)
      GTEST_SKIP() << "needs python3 and openssl";
    Dir = fs::temp_directory_path() / ("rasp-mail-tls-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                       "-addext subjectAltName=IP:127.0.0.1 -keyout " + (Dir / "key.pem").string() + " -out " +
                       (Dir / "cert.pem").string() + " > /dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0);
  }
  void TearDown() override {
    if (Server) pclose(Server);
    fs::remove_all(Dir);
  }
  // Starts the server; its port.
  uint16_t Start(bool offerTls, int sessions = 1) {
    std::string cmd = std::string("python3 ") + CRASH_SMTP_TLS_SERVER + " " + (Dir / "cert.pem").string() + " " +
                      (Dir / "key.pem").string() + " " + (Dir / "record.txt").string() + " " +
                      (offerTls ? "1" : "0") + " " + std::to_string(sessions);
    Server = popen(cmd.c_str(), "r");
    char line[32] = {};
    if (!Server || !std::fgets(line, sizeof line, Server)) return 0;
    return uint16_t(std::atoi(line));
  }
  // The server's record, once it has ended.
  std::string Record() {
    if (Server) pclose(Server);
    Server = nullptr;
    return Slurp(Dir / "record.txt");
  }
  // A report with credentials to a server started to offer STARTTLS.
  TCrashDeliveryResult SendWithPassword() {
    uint16_t port = Start(true);
    EXPECT_NE(port, 0);
    TCrashModuleOptions o("/opt/app/prog", false);
    o.SetEmailSendMode(esmSMTPServer);
    o.SetSMTPHost("127.0.0.1");
    o.SetSMTPPort(port);
    o.SetSMTPUserID("reporter");
    o.SetSMTPPassword("s3cr3t-pw");
    o.SetEmailAddresses("authors@prog.test");
    TCrashDeliveryEnv env;
    env.Dns.Servers.clear();
    env.TempFolder = Dir.string();
    env.SMTPTimeOutMs = 10000;
    TCrashDeliveryInput in;
    in.MailText = in.LogText = "the report\r\n";
    return CrashSendReport(o, in, {}, env);
  }
  fs::path Dir;
  FILE* Server = nullptr;
};

TEST_F(MailTls, TheReportAndThePasswordGoInsideTls) {
  setenv("SSL_CERT_FILE", (Dir / "cert.pem").c_str(), 1);
  TCrashDeliveryResult r = SendWithPassword();
  unsetenv("SSL_CERT_FILE");
  EXPECT_TRUE(r.Ok()) << r.Message;
  std::string record = Record();
  EXPECT_NE(record.find("tls=0 STARTTLS\n"), std::string::npos) << record;
  EXPECT_NE(record.find("tls=1 AUTH LOGIN\n"), std::string::npos) << record;
  EXPECT_NE(record.find("tls=1 " + CrashBase64("s3cr3t-pw") + "\n"), std::string::npos) << record;
  EXPECT_NE(record.find("tls=1 message"), std::string::npos) << record;
  EXPECT_EQ(record.find("tls=0 AUTH"), std::string::npos) << record;
  EXPECT_EQ(record.find("tls=0 MAIL"), std::string::npos) << record;
}

TEST_F(MailTls, ACertificateNotInTheStoreIsRefused) {
  TCrashDeliveryResult r = SendWithPassword();
  EXPECT_EQ(r.Code, TCrashDeliveryCode::eeEmailSMTPError);
  EXPECT_NE(r.Message.find("certificate"), std::string::npos) << r.Message;
  std::string record = Record();
  EXPECT_EQ(record.find("AUTH"), std::string::npos) << record;
  EXPECT_EQ(record.find("message"), std::string::npos) << record;
}

// A real crash of the stamped program: its report reaches the server
// inside TLS, the password too.
TEST_F(MailTls, AStampedProgramMailsItsCrashOverTls) {
  uint16_t port = Start(true);
  ASSERT_NE(port, 0);
  fs::path app = Dir / "crash_test_app";
  fs::copy_file(CRASH_TEST_APP, app);
  std::ofstream(Dir / "mail.ini") << "[Options]\nShowDialog=0\nEmailSendMode=2\nSMTPHost=127.0.0.1\nSMTPPort=" << port
                                  << "\nSMTPUserID=reporter\nSMTPPassword=s3cr3t-pw\nEmailAddresses=authors@prog.test\n"
                                  << "EmailSubject=Absturz \xC3\xBC\n";
  std::string stamp = std::string("ASAN_OPTIONS=detect_leaks=0 ") + CRASHBLOCK_TOOL + " stamp " + app.string() + " " +
                      (Dir / "mail.ini").string() + " > /dev/null";
  ASSERT_EQ(std::system(stamp.c_str()), 0);
  std::string run = "cd " + Dir.string() + " && ulimit -c 0 && ASAN_OPTIONS=detect_leaks=0:handle_segv=0 SSL_CERT_FILE=" +
                    (Dir / "cert.pem").string() + " TMPDIR=" + Dir.string() + " " + app.string() + " --out " +
                    Dir.string() + " segv > out.txt 2> err.txt";
  std::system(run.c_str());
  std::string record = Record();
  EXPECT_NE(record.find("tls=1 message"), std::string::npos) << record << Slurp(Dir / "err.txt");
  EXPECT_NE(record.find("Subject: =?UTF-8?B?" + CrashBase64("Absturz \xC3\xBC") + "?="), std::string::npos) << record;
  EXPECT_EQ(record.find("tls=0 AUTH"), std::string::npos) << record;
}

// Without a dialog nobody can untick the screenshot box: the stamped
// program copies the screen (through the helper beside it) and mails it.
TEST(CrashMailEndToEnd, ScreenshotWithoutTheDialog) {
  fs::path dir = fs::temp_directory_path() / ("rasp-mail-shot-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  test::TFakeSmtpServer s;
  s.Start();
  fs::path app = dir / "crash_test_app";
  fs::copy_file(CRASH_TEST_APP, app);
  fs::create_symlink(RASP_CRASH_DIALOG_HELPER, dir / "rasp-crash-dialog");
  std::ofstream(dir / "mail.ini") << "[Options]\nShowDialog=0\nSaveLogFile=1\nEmailSendMode=2\nAttachScreenshot=1\n"
                                  << "SMTPHost=127.0.0.1\nSMTPPort=" << s.Port()
                                  << "\nEmailAddresses=authors@prog.test\n";
  std::string stamp = std::string("ASAN_OPTIONS=detect_leaks=0 ") + CRASHBLOCK_TOOL + " stamp " + app.string() + " " +
                      (dir / "mail.ini").string() + " > /dev/null";
  ASSERT_EQ(std::system(stamp.c_str()), 0);
  std::string run = "cd " + dir.string() + " && ASAN_OPTIONS=detect_leaks=0:handle_segv=0 QT_QPA_PLATFORM=offscreen TMPDIR=" +
                    dir.string() + " " + app.string() + " --out " + dir.string() + " segv > out.txt 2> err.txt";
  std::system(run.c_str());
  ASSERT_FALSE(s.Messages().empty()) << Slurp(dir / "err.txt");
  std::string m = s.Messages().at(0);
  size_t png = m.find("Content-Type: image/png;\r\n        name=\"Screenshot.png\"\r\n");
  ASSERT_NE(png, std::string::npos) << m.substr(0, 3000);
  size_t body = m.find("\r\n\r\n", png);
  ASSERT_NE(body, std::string::npos);
  EXPECT_EQ(m.substr(body + 4, 11), "iVBORw0KGgo");  // the PNG signature in base64
  EXPECT_NE(m.find("name=\"crash_test_app.cwf\""), std::string::npos);
  // Neither the screen copy nor its folder stays behind.
  for (auto& e : fs::directory_iterator(dir))
    EXPECT_NE(e.path().filename().string().rfind("rasp-shot-", 0), 0u) << e.path();
  fs::remove_all(dir);
}

} // namespace
} // namespace rasp
