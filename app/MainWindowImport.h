#pragma once
// What the Import command keeps per window: the automation servers it may
// call ("Word.Application" on LibreOffice unless replaced) and whether an
// import is running.

#include "platform/automation/AutomationRegistry.h"

namespace rasp {

class TfrmMain;

// The window's automation servers; tests register their fakes here.
TAutomationRegistry& ImportAutomation(TfrmMain& window);

// True from the moment the open dialog shows until the pane is filled.
bool ImportRunning(TfrmMain& window);

}  // namespace rasp
