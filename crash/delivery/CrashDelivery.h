#pragma once
// Sending one report by mail: through the user's mail client (xdg-email,
// with a mailto: link through xdg-open as the fallback), through the
// configured SMTP server, or directly to each recipient domain's mail
// exchanger. Failures never escape: they come back as a code, a step name
// and a message for the report's failure record.
#include "crash/delivery/CrashDns.h"

#include <functional>
#include <string>
#include <vector>

namespace rasp {

class TCrashModuleOptions;

enum class TCrashDeliveryCode {
  eeNone,
  eeEmailSMTPError,
  eeEmailMAPIError,
  eeEmailShellError,
};

struct TCrashDeliveryResult {
  TCrashDeliveryCode Code = TCrashDeliveryCode::eeNone;
  std::string Step;      // "SMTP" for the SMTP routes
  std::string Message;   // the failure text (with the transcript for SMTP)
  int Delivered = 0;     // SMTP sessions that succeeded
  bool Ok() const { return Code == TCrashDeliveryCode::eeNone; }
};

// What the report hands over.
struct TCrashDeliveryInput {
  std::string MailText;       // LogText, or the whole crash log with SendEntireLog
  std::string LogText;        // the current entry (the mailto body)
  std::string ScreenshotPng;  // PNG bytes when the user kept the screenshot box ticked
};

// Seen by the progress dialog.
struct TCrashDeliveryProgress {
  std::function<void(const std::string&)> Text;  // "%s %d/%d: " + step text
  std::function<void(int)> Position;            // 0..100
};

// Test seams; the defaults are the real world.
struct TCrashDeliveryEnv {
  TCrashDnsConfig Dns = CrashDnsSystemConfig();
  int SMTPTimeOutMs = 30000;
  std::string TempFolder;   // empty: $TMPDIR, else /tmp
  std::string LocalHost;    // empty: gethostname()
  std::string MailClient = "xdg-email";
  std::string Opener = "xdg-open";
  int ClientWaitMs = 30000;
};

// One delivery in the way EmailSendMode names. The temporary log and
// screenshot copies live in a fresh private folder that is removed before
// this returns.
TCrashDeliveryResult CrashSendReport(const TCrashModuleOptions& options, const TCrashDeliveryInput& input,
                                     const TCrashDeliveryProgress& progress = {},
                                     const TCrashDeliveryEnv& env = {});

// One SMTP session to host:port for one recipient (the SMTP routes run one
// per recipient). Throws ECrashSocketError.
void CrashSmtpSession(const TCrashModuleOptions& options, const std::string& host, const std::string& recipient,
                      const std::string& message, const std::string& localHost, int timeOutMs,
                      const std::function<void(int)>& position, const std::function<void(int)>& stepText);

// Starts a program found on PATH with these arguments and waits at most
// waitMs for it; returns its exit status, -1 when it could not start
// (*error says why), 0 when it still runs after waitMs.
int CrashRunHelper(const std::vector<std::string>& argv, int waitMs, std::string* error);

} // namespace rasp
