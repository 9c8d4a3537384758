// Help page and update check.

#include "app/MainWindow.h"

#include "app/OnlineConstants.h"
#include "app/UUtils.h"
#include "app/UpdateChecker.h"

namespace rasp {

void TfrmMain::btnHelpClick()
{
    OpenURL(QString::fromLatin1(HelpPageURL));
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
    }
    FUpdateChecker->CheckForUpdates(Silent);
}

}  // namespace rasp
