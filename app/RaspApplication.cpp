#include "app/RaspApplication.h"

#include "app/CrashReportPump.h"
#include "crash/CrashReporterApi.h"

#include <QDirIterator>
#include <QIcon>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>
#include <QScopedValueRollback>
#include <cstdio>

namespace rasp {

TRaspApplication::TRaspApplication(int& argc, char** argv)
    : QApplication(argc, argv), FReportPump([this] {
          if (OnReportBeep)
              OnReportBeep();
          else
              QApplication::beep();
      })
{
    setApplicationName(QStringLiteral("Tellivo Rasp"));
    // No display name: Qt would append it to every window title the window
    // system shows ("Checker v1.01 - Tellivo Rasp" for a branded copy). Each
    // window's title is exactly the caption it was given.
    // The desktop entry's name: window systems that match windows to their
    // entry (Wayland, task bars) find the menu's icon and name through it.
    setDesktopFileName(QStringLiteral("tellivo-rasp"));
    setWindowIcon(BuiltInIcon());
    ConnectCrashReporter();
}

TRaspApplication::~TRaspApplication()
{
    SetCrashFreezePoster(nullptr);
    SetCrashPaintPump(nullptr);
}

namespace {
std::string WidgetText(QWidget* w)
{
    if (!w)
        return {};
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // A password never reaches the log.
        if (edit->echoMode() != QLineEdit::Normal)
            return std::string(size_t(edit->text().size()), '*');
        return edit->text().toStdString();
    }
    return w->windowTitle().toStdString();
}
}  // namespace

void TRaspApplication::ConnectCrashReporter()
{
    // The reporter is plain C++; what it needs of the window system it is
    // told here: the freeze watchdog's no-op, the paint-only loop of a
    // report made in this thread, the screen and the focused control.
    // The watch begins with the event loop: building the window before it is
    // start-up, not a freeze.
    QMetaObject::invokeMethod(this, [] {
        SetCrashFreezePoster([] {
            if (QCoreApplication* app = QCoreApplication::instance())
                QMetaObject::invokeMethod(app, [] { CrashFreezeAnswer(); }, Qt::QueuedConnection);
        });
    }, Qt::QueuedConnection);
    SetCrashPaintPump([] {
        if (auto* app = qobject_cast<TRaspApplication*>(QCoreApplication::instance()))
            app->FReportPump.Run();
    });
    if (QScreen* screen = primaryScreen())
        SetCrashScreenSize(screen->size().width(), screen->size().height());
    connect(this, &QApplication::focusChanged, this, [](QWidget*, QWidget* now) {
        QWidget* form = now ? now->window() : nullptr;
        SetCrashFocus(form ? form->metaObject()->className() : "", form ? form->windowTitle().toStdString() : "",
                      now ? now->metaObject()->className() : "", WidgetText(now));
    });
}

QIcon TRaspApplication::BuiltInIcon()
{
    // Every size compiled in; a deployment's IconPath replaces it later.
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("tellivo-rasp.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}

bool TRaspApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

void TRaspApplication::HandleException(std::exception_ptr error)
{
    // A failure of the program's own work that ran while this thread waits
    // for a report: it gets its own report once that one is over.
    if (CrashInReport()) {
        FFailedDuringReport.push_back(error);
        return;
    }
    // The crash reporter sees it first; the box is shown only when it
    // declines (not active, or an exception that is not a failure).
    const bool declined = ExceptionManager(error);
    while (!FFailedDuringReport.empty()) {
        std::exception_ptr next = FFailedDuringReport.front();
        FFailedDuringReport.erase(FFailedDuringReport.begin());
        HandleException(next);
    }
    if (!declined)
        return;
    // An abort stops an operation on purpose: nothing to tell.
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (...) {
    }
    if (OnException) {
        OnException(error);
        return;
    }
    const std::string text = ExceptionText(error);
    // An error raised while the box for an earlier one is open (its own event
    // loop runs) must not stack a second box on top.
    if (FShowing) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    QScopedValueRollback guard(FShowing, true);
    FErrorBox.MessageDlg(QString::fromStdString(text), mtError, {mbOK}, 0);
}

}  // namespace rasp
