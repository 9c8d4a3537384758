// Help page and update check.

#include "app/MainWindow.h"

namespace rasp {

void TfrmMain::btnHelpClick() {}

void TfrmMain::btnUpdateClick()
{
    CheckForUpdates(false);
}

void TfrmMain::CheckForUpdates(bool Silent)
{
    (void)Silent;
    if (!FOptions.CheckUpdates)
        return;
}

}  // namespace rasp
