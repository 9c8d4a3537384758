#include "app/RaspApplication.h"

#include <QDirIterator>
#include <QIcon>
#include <QScopedValueRollback>
#include <cstdio>

namespace rasp {

TRaspApplication::TRaspApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tellivo Rasp"));
    setApplicationDisplayName(QStringLiteral("Tellivo Rasp"));
    // The desktop entry's name: window systems that match windows to their
    // entry (Wayland, task bars) find the menu's icon and name through it.
    setDesktopFileName(QStringLiteral("tellivo-rasp"));
    setWindowIcon(BuiltInIcon());
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
