// rasp-crash-dialog: shows one crash dialog for a failing tellivo-rasp.
// The request arrives on standard input, the answer leaves on standard
// output; crash/protocol/CrashDialogProtocol.h describes both. Exit status 0 when a
// dialog was shown, 2 when no display can be opened, 3 when the dialog never
// got painted, 1 for a broken request; the report then falls back to text on
// standard error. In screenshot mode it only copies the screen; in clipboard
// mode it leaves the report on the clipboard (CrashClipboardKeeper.h).
#include "crash/protocol/CrashDialogProtocol.h"
#include "platform/display/DisplayPlatform.h"
#include "tools/rasp-crash-dialog/CrashClipboardKeeper.h"
#include "tools/rasp-crash-dialog/CrashDialogScreenshot.h"
#include "tools/rasp-crash-dialog/CrashExceptionDialog.h"
#include "tools/rasp-crash-dialog/CrashProgressDialog.h"
#include "tools/rasp-crash-dialog/CrashStepsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

void Say(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

// Closes a dialog that never reached the screen, and (for tests) one that
// did, after RASP_CRASH_DIALOG_AUTOCLOSE ms. RASP_CRASH_DIALOG_PRESS=terminate
// clicks the exception dialog's terminate button once it shows, =clipboard
// ticks its clipboard box and clicks OK (tests).
void Watch(rasp::TCrashStyledDialog& dlg) {
  QObject::connect(&dlg, &rasp::TCrashStyledDialog::firstPaint, &dlg, [&dlg] {
    Say("shown\n");
    if (const char* ms = std::getenv("RASP_CRASH_DIALOG_AUTOCLOSE"); ms && *ms)
      QTimer::singleShot(std::atoi(ms), &dlg, &QDialog::accept);
  });
  QTimer::singleShot(3000, &dlg, [&dlg] {
    if (!dlg.Painted())
      dlg.reject();
  });
}

// Reads the request up to its "end" line (standard input stays open for the
// progress dialog's updates). False with a message naming the line when the
// request is broken.
bool ReadRequest(rasp::TCrashDialogRequest& request, std::string& error) {
  std::string line;
  if (!std::getline(std::cin, line) || (line != rasp::CrashDialogVersionLine &&
                                        line != std::string(rasp::CrashDialogVersionLine) + "\r")) {
    error = std::string("line 1: expected \"") + rasp::CrashDialogVersionLine + "\"";
    return false;
  }
  for (int number = 2; std::getline(std::cin, line); ++number) {
    std::string why;
    switch (rasp::CrashDialogReadLine(request, line, why)) {
    case rasp::TCrashDialogLine::More:
      continue;
    case rasp::TCrashDialogLine::End:
      return true;
    case rasp::TCrashDialogLine::Broken:
      error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
  }
  error = "the request ended before its \"end\" line";
  return false;
}

} // namespace

int main(int argc, char** argv) {
  rasp::TCrashDialogRequest request;
  if (std::string error; !ReadRequest(request, error)) {
    std::fprintf(stderr, "rasp-crash-dialog: broken request on standard input: %s\n", error.c_str());
    Say(rasp::CrashDialogWriteResult({}));
    return 1;
  }
  rasp::TCrashDialogResult result;
  // The same platform as the window's: these dialogs place themselves too.
  // Without a display the report goes to standard error instead.
  const rasp::TDisplayChoice display = rasp::ChooseDisplay(rasp::CurrentDisplayEnvironment());
  if (display.Route == rasp::TDisplayRoute::NoDisplay) {
    Say(rasp::CrashDialogWriteResult(result));
    return 2;
  }
  const bool keeper = argc > 1 && std::string(argv[1]) == rasp::CrashKeepClipboardArgument;
  if (request.Mode == "clipboard" && !keeper) {
    const bool held = rasp::CrashStartClipboardKeeper(request);
    Say(rasp::CrashDialogWriteResult(result));
    return held ? 0 : 3;
  }
  rasp::TQtPlatformSetting platform(display);
  QApplication app(argc, argv);
  platform.Restore();
  if (request.Mode == "clipboard")
    return rasp::CrashKeepClipboard(request, 60 * 60 * 1000);

  if (!request.ScreenshotFile.empty() && rasp::CrashWriteScreenshot(QString::fromStdString(request.ScreenshotFile)))
    Say("screenshot " + rasp::CrashDialogEscape(request.ScreenshotFile) + "\n");
  if (request.Mode == "screenshot") {
    Say(rasp::CrashDialogWriteResult(result));
    return 0;
  }

  if (request.Mode == "steps") {
    rasp::TCrashStepsDialog dlg(request);
    Watch(dlg);
    // Tests type their steps through RASP_CRASH_DIALOG_STEPS ("\n" for a line break).
    if (const char* steps = std::getenv("RASP_CRASH_DIALOG_STEPS"); steps && *steps)
      QObject::connect(&dlg, &rasp::TCrashStyledDialog::firstPaint, &dlg, [&dlg, steps] {
        QTimer::singleShot(0, &dlg, [&dlg, steps] {
          dlg.Edit()->setPlainText(QString::fromUtf8(steps).replace(QLatin1String("\\n"), QLatin1String("\n")));
          dlg.accept();
        });
      });
    dlg.exec();
    result.Steps = dlg.ReproduceText().toStdString();
    Say(rasp::CrashDialogWriteResult(result));
    return dlg.Painted() ? 0 : 3;
  }
  if (request.Mode == "progress") {
    rasp::TCrashProgressDialog dlg(request);
    Watch(dlg);
    QSocketNotifier notifier(STDIN_FILENO, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&notifier, &QSocketNotifier::activated, &dlg, [&] {
      char buf[4096];
      ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
      if (n <= 0) {
        dlg.accept();
        return;
      }
      pending.append(buf, size_t(n));
      size_t lf;
      while ((lf = pending.find('\n')) != std::string::npos) {
        std::string l = pending.substr(0, lf);
        pending.erase(0, lf + 1);
        if (!dlg.Apply(QString::fromStdString(l))) {
          dlg.accept();
          return;
        }
      }
    });
    dlg.exec();
    Say(rasp::CrashDialogWriteResult(result));
    return dlg.Painted() ? 0 : 3;
  }
  rasp::TCrashExceptionDialog dlg(request);
  Watch(dlg);
  // Tests take the terminate (restart) choice as a user would: by clicking
  // the button, which is there only when the report's options show it.
  const char* press = std::getenv("RASP_CRASH_DIALOG_PRESS");
  if (press && std::string(press) == "terminate")
    QObject::connect(&dlg, &rasp::TCrashStyledDialog::firstPaint, &dlg, [&dlg] {
      QTimer::singleShot(0, &dlg, [&dlg] {
        if (dlg.TerminateButton()->isVisible())
          dlg.TerminateButton()->click();
      });
    });
  if (press && std::string(press) == "clipboard")
    QObject::connect(&dlg, &rasp::TCrashStyledDialog::firstPaint, &dlg, [&dlg] {
      QTimer::singleShot(0, &dlg, [&dlg] {
        dlg.ClipboardBox()->click();
        dlg.OkButton()->click();
      });
    });
  QApplication::beep();
  dlg.exec();
  result = dlg.Result();
  result.Shown = false;  // said when it happened
  Say(rasp::CrashDialogWriteResult(result));
  return dlg.Painted() ? 0 : 3;
}
