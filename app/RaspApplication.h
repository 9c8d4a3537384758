#pragma once
// The application object. Exceptions that reach the event loop end here:
// the crash reporter reports them, and when it declines they are shown to
// the user in one message box; the program keeps running.

#include "app/CrashReportPump.h"
#include "skinctrls/ExceptionSink.h"
#include "skinctrls/TbsSkinMessage.h"

#include <QApplication>
#include <QIcon>
#include <functional>
#include <vector>

namespace rasp {

class TRaspApplication : public QApplication, public IExceptionSink {
    Q_OBJECT
public:
    TRaspApplication(int& argc, char** argv);
    ~TRaspApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;
    void HandleException(std::exception_ptr error) override;

    // The application icon of every size built into the program; empty when
    // the build had no SVG support to draw it.
    static QIcon BuiltInIcon();

    // Replaces the message box (the crash reporter takes this place).
    std::function<void(std::exception_ptr)> OnException;
    // Replaces the beep that answers input while a crash report runs.
    std::function<void()> OnReportBeep;
    // The box the errors are shown in; tests answer it through its hook.
    TbsSkinMessage& ErrorBox() { return FErrorBox; }

private:
    void ConnectCrashReporter();
    TbsSkinMessage FErrorBox;
    TCrashReportPump FReportPump;
    std::vector<std::exception_ptr> FFailedDuringReport;
    bool FShowing = false;
};

}  // namespace rasp
