#pragma once
// Plugs the dialogs (through the rasp-crash-dialog helper) and the mail
// delivery into the report procedure's steps 9, 10 and 12.
namespace rasp {

void CrashInstallReportSteps();

} // namespace rasp
