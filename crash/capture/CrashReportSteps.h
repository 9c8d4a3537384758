#pragma once
// Plugs the dialogs (through the rasp-crash-dialog helper), the clipboard and
// the mail delivery into the report procedure: the exception dialog and the
// question for the steps to reproduce once the entry is stored, the
// clipboard and the mail once the entry is complete.
namespace rasp {

void CrashInstallReportSteps();

} // namespace rasp
