#pragma once
// The test program's window loop: the real application object, which hands
// exceptions of the loop to the crash reporter.
#include <functional>

int CrashTestRunLoop(int argc, char** argv, const std::function<void()>& inLoop);
void CrashTestStartQThread();
// A window whose loop fails once; while the report runs, keys and clicks
// arrive and the window is asked to paint. Prints what reached the window.
int CrashTestInputDuringReport(int argc, char** argv);
// The report step hook that sends that input.
void CrashTestInputWhileReporting(int step);
// Queues the end of the loop.
void CrashTestQuitSoon();
// Runs fn from the loop once the current event is done.
void CrashTestLater(std::function<void()> fn);
