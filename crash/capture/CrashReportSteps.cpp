#include "crash/capture/CrashReportSteps.h"

#include "crash/delivery/CrashDelivery.h"
#include "crash/protocol/CrashDialogClient.h"
#include "crash/protocol/CrashDialogRows.h"
#include "crash/modules/CrashFormat.h"
#include "crash/modules/CrashImmortal.h"
#include "crash/modules/CrashOptionsEx.h"
#include "crash/capture/CrashReport.h"
#include "crash/CrashReporterApi.h"
#include "crash/delivery/CrashTempFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace rasp {

namespace {

// The dialog's choices for the report in progress (reports are serialised
// by the reporter's lock).
struct TDialogState {
  bool DialogRan = false;
  TCrashDialogResult Choice;
  std::string ScreenshotFolder;
  std::string ScreenshotFile;
  // Known to the reporter too, so that an ending that cannot wait removes them.
  std::unique_ptr<TCrashTempPath> KnownFolder, KnownFile;
};

TDialogState& State() {
  return CrashImmortal<TDialogState>();
}


std::string Folder(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void DropScreenshot() {
  TDialogState& s = State();
  if (!s.ScreenshotFile.empty())
    ::unlink(s.ScreenshotFile.c_str());
  if (!s.ScreenshotFolder.empty())
    ::rmdir(s.ScreenshotFolder.c_str());
  s.ScreenshotFile.clear();
  s.ScreenshotFolder.clear();
  s.KnownFile.reset();
  s.KnownFolder.reset();
}

TCrashDialogRequest Request(const TCrashReportInProgress& report, const char* mode) {
  const TCrashModuleOptions& o = *report.Options;
  TCrashDialogRequest r;
  r.Mode = mode;
  for (int i = 0; i < CrashCustomTextCount; ++i)
    r.Texts[i] = o.CustomText(i);
  r.ShortText = report.ShortText;
  r.HeaderText = report.Texts.HeaderText;
  r.CPUText = report.Texts.CPUText;
  r.LogText = report.Texts.LogText;
  for (const TCrashDebugInfo& e : report.CallStack.Items())
    if (std::optional<TCrashDialogRow> row = CrashDialogStackRow(e))
      r.Stack.push_back(*row);
  r.Modules = CrashDialogModuleRows(report.Modules);
  r.SendMode = o.EmailSendMode();
  r.AttachScreenshot = o.AttachScreenshot();
  r.ShowTerminateBtn = o.ShowTerminateBtn();
  r.ErrorsNumberToShowTerminateBtn = o.ErrorsNumberToShowTerminateBtn();
  r.TerminateBtnOperation = o.TerminateBtnOperation();
  r.ReportCount = CrashReportCount();
  r.FirstTab = o.FirstTab();
  r.StyledDialogs = o.StyledDialogs();
  r.DuplicateFound = report.DuplicateFound;
  r.GeometryFile = Folder(o.LogFileName()) + "/Crashwise.ini";
  return r;
}

// Where the screen copy goes when the mail may carry one: a fresh folder of
// our own, so nobody can put a file of theirs in its place.
std::string ScreenshotTarget(const TCrashReportInProgress& report) {
  const TCrashModuleOptions& o = *report.Options;
  if (o.EmailSendMode() == esmNoSend || !o.AttachScreenshot() || report.DuplicateFound)
    return {};
  const char* t = std::getenv("TMPDIR");
  std::string templ = std::string(t && *t ? t : "/tmp") + "/rasp-shot-XXXXXX";
  if (!::mkdtemp(templ.data()))
    return {};
  State().ScreenshotFolder = templ;
  State().KnownFolder = std::make_unique<TCrashTempPath>(templ);
  State().KnownFile = std::make_unique<TCrashTempPath>(templ + "/Screenshot.png");
  return templ + "/Screenshot.png";
}

// Every report starts with a clean state; without a dialog the helper only
// copies the screen (with a dialog it does so just before showing it).
void TakeScreenshot(TCrashReportInProgress& report) {
  TDialogState& s = State();
  DropScreenshot();
  s.DialogRan = false;
  s.Choice = {};
  if (report.Options->ShowDialog())
    return;
  TCrashDialogRequest r;
  r.Mode = "screenshot";
  r.ScreenshotFile = ScreenshotTarget(report);
  if (r.ScreenshotFile.empty())
    return;
  TCrashDialogResult shot = CrashShowDialog(CrashDialogHelperPath(), r, "");
  s.ScreenshotFile = shot.ScreenshotFile.empty() ? r.ScreenshotFile : shot.ScreenshotFile;
}

void ShowDialog(TCrashReportInProgress& report) {
  const TCrashModuleOptions& o = *report.Options;
  TDialogState& s = State();
  DropScreenshot();
  s.DialogRan = false;
  s.Choice = {};
  TCrashDialogRequest r = Request(report, "exception");
  r.ScreenshotFile = ScreenshotTarget(report);
  TCrashWaitingForUser waiting;
  s.Choice = CrashShowDialog(CrashDialogHelperPath(), r, o.CustomText(2) + "\r\n" + report.Texts.LogText);
  s.DialogRan = true;
  s.ScreenshotFile = s.Choice.ScreenshotFile.empty() ? r.ScreenshotFile : s.Choice.ScreenshotFile;
  report.TerminateRequested = s.Choice.Terminate;
}

void AskSteps(TCrashReportInProgress& report) {
  const TCrashModuleOptions& o = *report.Options;
  if (report.DuplicateFound || (o.EmailSendMode() == esmNoSend && !o.SaveLogFile()))
    return;
  TCrashWaitingForUser waiting;
  report.StepsText = CrashShowDialog(CrashDialogHelperPath(), Request(report, "steps"), "").Steps;
}

// The report with the steps, as the log holds it. The helper leaves a
// keeper behind that holds the text on the clipboard after it ends.
void CopyToClipboard(TCrashReportInProgress& report) {
  TDialogState& s = State();
  if (!s.DialogRan || !s.Choice.Clipboard)
    return;
  TCrashDialogRequest r = Request(report, "clipboard");
  r.LogText = report.MailText;
  CrashShowDialog(CrashDialogHelperPath(), r, "");
}

void SendMail(TCrashReportInProgress& report) {
  const TCrashModuleOptions& o = *report.Options;
  TDialogState& s = State();
  // A dialog that was not shown let nobody untick the box.
  const bool send = !o.ShowDialog() || !s.DialogRan || !s.Choice.Shown || s.Choice.Send;
  if (!send || report.DuplicateFound) {
    DropScreenshot();
    return;
  }
  TCrashDeliveryInput in;
  in.MailText = report.MailText;
  in.LogText = report.Texts.LogText;
  const bool shot = s.Choice.Shown ? s.Choice.Screenshot : o.AttachScreenshot();
  if (shot && !s.ScreenshotFile.empty()) {
    std::ifstream f(s.ScreenshotFile, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    in.ScreenshotPng = ss.str();
  }
  std::unique_ptr<TCrashProgressHelper> progress;
  TCrashDeliveryProgress p;
  if (o.ShowSendProgress() && o.ShowDialog() &&
      (o.EmailSendMode() == esmSMTPServer || o.EmailSendMode() == esmSMTPClient)) {
    progress = std::make_unique<TCrashProgressHelper>(CrashDialogHelperPath(), Request(report, "progress"));
    p.Text = [&](const std::string& t) { progress->SetText(t); };
    p.Position = [&](int v) { progress->SetPosition(v); };
  }
  TCrashDeliveryResult r = CrashSendReport(o, in, p);
  if (progress)
    progress->Close();
  DropScreenshot();
  if (!r.Ok()) {
    const char* code = r.Code == TCrashDeliveryCode::eeEmailSMTPError   ? "eeEmailSMTPError"
                       : r.Code == TCrashDeliveryCode::eeEmailMAPIError ? "eeEmailMAPIError"
                                                                        : "eeEmailShellError";
    std::fprintf(stderr, "[WARNING] - Code: %s - Address: %s - Message: \"%s\"\n", code,
                 CrashHexAddress(report.ExceptionAddress).c_str(),
                 (r.Step.empty() ? r.Message : "[" + r.Step + "] " + r.Message).c_str());
  }
}

} // namespace

void CrashInstallReportSteps() {
  TCrashReportSteps steps;
  steps.TakeScreenshot = TakeScreenshot;
  steps.ShowDialog = ShowDialog;
  steps.AskSteps = AskSteps;
  steps.CopyToClipboard = CopyToClipboard;
  steps.SendMail = SendMail;
  SetCrashReportSteps(steps);
}

} // namespace rasp
