#include "app/UUtils.h"

#include "platform/browser/BrowserCommand.h"
#include "platform/browser/HttpHandler.h"

#include <QProcess>

namespace rasp {

bool OpenURL(const QString& url)
{
    // A link from the deployment settings starting with "-" would reach the
    // browser as an option rather than an address.
    if (url.isEmpty() || url.startsWith(QLatin1Char('-')))
        return false;
    const std::string command = HttpHandlerCommand(TXdgDirs::FromEnvironment());
    if (command.empty())
        return false;
    const std::string browser = BrowserExecutable(command);
    if (browser.empty())
        return false;
    QProcess::startDetached(QString::fromLocal8Bit(browser), {url});
    return true;
}

} // namespace rasp
