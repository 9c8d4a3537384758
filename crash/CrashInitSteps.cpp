// Linked beside CrashInit.cpp: the report's dialogs and mail are the
// rasp-crash-dialog helper and the mail delivery of this folder.
#include "crash/capture/CrashReportSteps.h"

namespace {
struct TCrashStepsUnit {
  TCrashStepsUnit() { rasp::CrashInstallReportSteps(); }
};
// Before the program's own static initialisers, like the reporter itself.
__attribute__((init_priority(101))) TCrashStepsUnit CrashStepsUnit;
} // namespace
