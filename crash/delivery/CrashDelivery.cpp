#include "crash/delivery/CrashDelivery.h"

#include "crash/delivery/CrashBase64.h"
#include "crash/delivery/CrashMail.h"
#include "crash/modules/CrashOptions.h"
#include "crash/delivery/CrashSockets.h"
#include "crash/delivery/CrashTempFiles.h"
#include "platform/base/UniqueFd.h"
#include "platform/base/WriteAll.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace rasp {

namespace {

// A private folder (mode 0700, unique name) for the log and screenshot
// copies; it and what it holds go when the delivery ends.
class TCrashTempFolder {
public:
  explicit TCrashTempFolder(std::string base) {
    if (base.empty()) {
      const char* t = std::getenv("TMPDIR");
      base = t && *t ? t : "/tmp";
    }
    std::string templ = base + "/rasp-crash-XXXXXX";
    if (::mkdtemp(templ.data())) {
      FPath = templ;
      FKnown.push_back(std::make_unique<TCrashTempPath>(FPath));
    }
  }
  ~TCrashTempFolder() {
    for (const std::string& f : FFiles)
      ::unlink(f.c_str());
    if (!FPath.empty())
      ::rmdir(FPath.c_str());
  }
  TCrashTempFolder(const TCrashTempFolder&) = delete;
  TCrashTempFolder& operator=(const TCrashTempFolder&) = delete;

  // Writes the file; empty string when it could not be written.
  std::string Write(const std::string& name, const std::string& bytes) {
    if (FPath.empty())
      return {};
    std::string path = FPath + "/" + name;
    TUniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd)
      return {};
    FFiles.push_back(path);
    FKnown.push_back(std::make_unique<TCrashTempPath>(path));
    return WriteAll(fd.Get(), bytes) && fd.Reset() == 0 ? path : std::string();
  }

private:
  std::string FPath;
  std::vector<std::string> FFiles;
  // Known to the reporter too: an ending that cannot wait for this object
  // removes them.
  std::vector<std::unique_ptr<TCrashTempPath>> FKnown;
};

std::string LocalHostName() {
  char buf[256] = {};
  if (::gethostname(buf, 250) != 0 || !buf[0])
    return "localhost";
  buf[250] = 0;
  return buf;
}

std::string LogCopyName(const TCrashModuleOptions& o) {
  std::string log = o.LogFileName();
  size_t slash = log.find_last_of('/');
  std::string name = slash == std::string::npos ? log : log.substr(slash + 1);
  if (name.empty() || name == ".cwf")
    name = "crash.cwf";
  return name;
}

bool ValidAddress(const std::string& a) {
  if (a.empty())
    return false;
  for (char c : a)
    if (uint8_t(c) <= ' ' || c == '<' || c == '>' || c == 127)
      return false;
  return true;
}

std::string ProgressPrefix(const TCrashModuleOptions& o, int j, int count) {
  char buf[64];
  std::snprintf(buf, sizeof buf, " %d/%d: ", j, count);
  return o.CustomText(54) + buf;
}

TCrashDeliveryResult SmtpRoute(const TCrashModuleOptions& o, const std::string& body,
                               const std::vector<std::string>& attachments, const TCrashDeliveryProgress& progress,
                               const TCrashDeliveryEnv& env) {
  TCrashDeliveryResult r;
  std::vector<std::string> recipients;
  for (std::string& a : CrashSplitRecipients(o.EmailAddresses()))
    if (!a.empty())
      recipients.push_back(std::move(a));
  const int count = static_cast<int>(recipients.size());
  const std::string localHost = env.LocalHost.empty() ? LocalHostName() : env.LocalHost;
  try {
    if (count == 0)
      throw ECrashSocketError("No recipient is set for the report.");
    for (int j = 1; j <= count; ++j) {
      const std::string& to = recipients[j - 1];
      auto text = [&](int index) {
        if (progress.Text)
          progress.Text(ProgressPrefix(o, j, count) + o.CustomText(index));
      };
      if (progress.Position)
        progress.Position(0);
      if (!ValidAddress(to))
        throw ECrashSocketError("The recipient \"" + to + "\" is not a valid address.");
      std::string host;
      if (o.EmailSendMode() == esmSMTPClient) {
        text(55);
        host = CrashMxLookup(to, env.Dns);
      } else {
        host = o.SMTPHost();
      }
      TCrashMailParts parts;
      parts.From = o.SMTPFrom();
      parts.Subject = o.EmailSubject();
      parts.To = to;
      parts.Body = body;
      parts.Attachments = attachments;
      parts.When = std::time(nullptr);
      CrashSmtpSession(o, host, to, CrashBuildMessage(parts), localHost, env.SMTPTimeOutMs, progress.Position,
                       text);
      ++r.Delivered;
    }
  } catch (const std::exception& e) {
    r.Code = TCrashDeliveryCode::eeEmailSMTPError;
    r.Step = "SMTP";
    r.Message = e.what();
  }
  return r;
}

TCrashDeliveryResult ClientRoute(const TCrashModuleOptions& o, const TCrashDeliveryInput& in, const std::string& body,
                                 const std::vector<std::string>& attachments, const TCrashDeliveryEnv& env) {
  TCrashDeliveryResult r;
  std::vector<std::string> argv{env.MailClient, "--utf8", "--subject", o.EmailSubject(), "--body", body};
  for (const std::string& a : attachments)
    if (!a.empty()) {
      argv.push_back("--attach");
      argv.push_back(a);
    }
  for (std::string& a : CrashSplitRecipients(o.EmailAddresses()))
    if (ValidAddress(a))
      argv.push_back(std::move(a));
  std::string error;
  int status = CrashRunHelper(argv, env.ClientWaitMs, &error);
  if (status == 0)
    return r;
  std::string clientFailure = status < 0 ? "Cannot start the mail client: " + error
                                         : "The mail client did not take the message (" + env.MailClient +
                                               " exit code " + std::to_string(status) + ").";
  // The mailto: link carries no attachments; the report goes in its body.
  std::string link = CrashMailtoLink(o.EmailAddresses(), o.EmailSubject(),
                                     o.EmailMessage() + "\r\n\r\n\r\n" + in.LogText);
  status = CrashRunHelper({env.Opener, link}, env.ClientWaitMs, &error);
  if (status == 0) {
    r.Code = TCrashDeliveryCode::eeEmailMAPIError;
    r.Message = clientFailure + " The report went to a mailto: link instead, without attachments.";
    return r;
  }
  r.Code = TCrashDeliveryCode::eeEmailShellError;
  r.Message = clientFailure + " " +
              (status < 0 ? "Cannot open the mailto: link: " + error
                          : "Cannot open the mailto: link (" + env.Opener + " exit code " + std::to_string(status) +
                                ").");
  return r;
}

} // namespace

int CrashRunHelper(const std::vector<std::string>& argv, int waitMs, std::string* error) {
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  int rc = ::posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) {
    if (error)
      *error = std::string("\"") + argv[0] + "\": " + std::strerror(rc);
    return -1;
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    int st = 0;
    pid_t w = ::waitpid(pid, &st, WNOHANG);
    if (w == pid) {
      if (WIFEXITED(st)) {
        if (WEXITSTATUS(st) == 127) {
          if (error)
            *error = std::string("\"") + argv[0] + "\" was not found.";
          return -1;
        }
        return WEXITSTATUS(st);
      }
      return 128 + (WIFSIGNALED(st) ? WTERMSIG(st) : 0);
    }
    if (w < 0 && errno != EINTR)
      return 0;
    if (std::chrono::steady_clock::now() >= deadline)
      return 0;  // still busy with the message: it has been handed over
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void CrashSmtpSession(const TCrashModuleOptions& o, const std::string& host, const std::string& recipient,
                      const std::string& message, const std::string& localHost, int timeOutMs,
                      const std::function<void(int)>& position, const std::function<void(int)>& stepText) {
  auto text = [&](int i) {
    if (stepText)
      stepText(i);
  };
  TCrashClientSMTP c(host, timeOutMs, true, o.SMTPPort());
  text(56);
  c.Connect();
  text(57);
  const std::string from = "MAIL FROM:<" + o.SMTPFrom() + ">";
  const bool auth = !o.SMTPUserID().empty() || !o.SMTPPassword().empty();
  // EHLO always: only its answer tells whether the server offers STARTTLS.
  // A server that knows no EHLO gets HELO, when nothing but the report
  // would travel.
  const bool esmtp = c.Ask("EHLO " + localHost, {250});
  if (!esmtp && auth)
    c.Fail(c.Transcript());
  if (!esmtp)
    c.Command("HELO " + localHost, {250});
  if (esmtp && c.Offers("STARTTLS")) {
    c.StartTlsSession();
    c.Command("EHLO " + localHost, {250});
  } else if (o.SMTPWithoutTLS() == stRefused || (o.SMTPWithoutTLS() == stOnlyWithoutPassword && auth)) {
    c.Fail("The SMTP server \"" + host + "\" offers no STARTTLS: the report is not sent in clear" +
           (auth ? " with the password" : "") + " (SMTPWithoutTLS).");
  }
  c.Command("RSET", {250});
  if (auth) {
    c.Command("AUTH LOGIN", {334});
    c.Command(CrashBase64(o.SMTPUserID()), {334}, true);
    c.Command(CrashBase64(o.SMTPPassword()), {235}, true);
  }
  c.Command(from, {250});
  text(58);
  c.Command("RCPT TO:<" + recipient + ">", {250, 251});
  c.Command("DATA", {354});
  if (position)
    c.OnProgress = [&](size_t sent, size_t total) { position(static_cast<int>(sent * 100 / (total ? total : 1))); };
  c.SendMessage(message);
  c.OnProgress = nullptr;
  // The mail is accepted; a server that does not answer QUIT changes nothing.
  try {
    c.SetTimeOut(timeOutMs < 2000 ? timeOutMs : 2000);
    c.Command("QUIT", {221});
  } catch (const ECrashSocketError&) {
  }
}

TCrashDeliveryResult CrashSendReport(const TCrashModuleOptions& o, const TCrashDeliveryInput& in,
                                     const TCrashDeliveryProgress& progress, const TCrashDeliveryEnv& env) {
  TCrashDeliveryResult r;
  try {
    if (o.EmailSendMode() == esmNoSend)
      return r;
    TCrashTempFolder temp(env.TempFolder);
    std::vector<std::string> attachments;
    if (!o.LogInMessageBody()) {
      std::string log = temp.Write(LogCopyName(o), in.MailText);
      if (log.empty()) {
        r.Code = o.EmailSendMode() == esmEmailClient ? TCrashDeliveryCode::eeEmailMAPIError
                                                     : TCrashDeliveryCode::eeEmailSMTPError;
        r.Step = o.EmailSendMode() == esmEmailClient ? "" : "SMTP";
        r.Message = std::string("Cannot write the temporary copy of the crash log: ") + std::strerror(errno);
        return r;
      }
      attachments.push_back(log);
    }
    if (!in.ScreenshotPng.empty())
      attachments.push_back(temp.Write("Screenshot.png", in.ScreenshotPng));
    const std::string body = CrashMailBody(o.EmailMessage(), in.MailText, o.LogInMessageBody());
    switch (o.EmailSendMode()) {
    case esmSMTPServer:
    case esmSMTPClient: return SmtpRoute(o, body, attachments, progress, env);
    case esmEmailClient: return ClientRoute(o, in, body, attachments, env);
    default: return r;
    }
  } catch (const std::exception& e) {
    r.Code = TCrashDeliveryCode::eeEmailSMTPError;
    r.Step = "SMTP";
    r.Message = e.what();
  }
  return r;
}

} // namespace rasp
