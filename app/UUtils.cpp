#include "app/UUtils.h"

#include "platform/browser/DesktopExec.h"
#include "platform/browser/HttpHandler.h"

#include <QProcess>
#include <QStringList>

namespace rasp {

bool OpenURL(const QString& url)
{
    // A link from the deployment settings starting with "-" would reach the
    // browser as an option rather than an address.
    if (url.isEmpty() || url.startsWith(QLatin1Char('-')))
        return false;
    const auto entry = HttpHandlerEntry(TXdgDirs::FromEnvironment());
    if (!entry)
        return false;
    // The address goes in as one argument of its own: no shell ever sees it.
    const auto command = ExpandDesktopExec(*entry, url.toLocal8Bit().toStdString());
    if (!command)
        return false;
    QStringList arguments;
    for (auto it = command->begin() + 1; it != command->end(); ++it)
        arguments << QString::fromLocal8Bit(*it);
    QProcess::startDetached(QString::fromLocal8Bit(command->front()), arguments);
    return true;
}

QString NoBrowserMessage(const QString& url)
{
    return QStringLiteral("No web browser could be started to open this page. "
                          "Please open it in your browser yourself:\n") + url;
}

} // namespace rasp
