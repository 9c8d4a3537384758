#include "app/RaspApplication.h"

#include <QScopedValueRollback>
#include <cstdio>

namespace rasp {

TRaspApplication::TRaspApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tellivo Rasp"));
    // No display name: Qt would append it to every window title the window
    // system shows ("Checker v1.01 - Tellivo Rasp" for a branded copy). Each
    // window's title is exactly the caption it was given.
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
