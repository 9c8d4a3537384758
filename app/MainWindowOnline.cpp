// Help page and update check.

#include "app/MainWindow.h"

#include "app/OnlineConstants.h"
#include "app/UUtils.h"
#include "app/UpdateChecker.h"
#include "platform/paths/WritableFolder.h"

#include <QFile>

namespace rasp {

void TfrmMain::btnHelpClick()
{
    OpenLink(QString::fromLatin1(HelpPageURL));
}

void TfrmMain::OpenLink(const QString& url)
{
    if (url.isEmpty() || OpenURL(url))
        return;
    // Nothing could be started: the click must not look as if it worked.
    msgMain->MessageDlg(NoBrowserMessage(url), mtWarning, {mbOK}, 0);
}

void TfrmMain::btnUpdateClick()
{
    CheckForUpdates(false);
}

void TfrmMain::CheckForUpdates(bool Silent)
{
    if (!FOptions.CheckUpdates)
        return;
    if (!FUpdateChecker) {
        const QString base = FOptions.UpdateBaseURL.isEmpty() ? QString::fromLatin1(UpdateBaseURL)
                                                              : FOptions.UpdateBaseURL;
        // A child of the window: closing the window abandons a check in
        // progress, destroying it takes the checker along.
        FUpdateChecker = new TUpdateChecker(
            this, base, ProgramDir(),
            [this](const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) {
                return msgMain->MessageDlg(msg, type, buttons, helpCtx);
            },
            [this] { close(); });
        // The updater is looked for beside the program; the description is
        // stored there only when the program may write there.
        FUpdateChecker->SetDownloadDir(QFile::decodeName(
            WritableFolderFor(TWritableKind::Cache, QFile::encodeName(ProgramDir()).toStdString()).c_str()));
    }
    FUpdateChecker->CheckForUpdates(Silent);
}

}  // namespace rasp
