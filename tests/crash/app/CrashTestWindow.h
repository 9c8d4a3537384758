#pragma once
// The test program's window loop: the real application object, which hands
// exceptions of the loop to the crash reporter.
#include <functional>
#include <string>

int CrashTestRunLoop(int argc, char** argv, const std::function<void()>& inLoop);
void CrashTestStartQThread();
// A window whose loop fails once; while the report runs, keys and clicks
// arrive and the window is asked to paint. Prints what reached the window.
int CrashTestInputDuringReport(int argc, char** argv);
// The report step hook that sends that input.
void CrashTestInputWhileReporting(int step);
// A red window over the whole screen whose loop fails once (an exception,
// or with `fault` a null pointer write); once the report's dialog has gone,
// the screen is saved as PPM to shotFile.
int CrashTestRepaintDuringReport(int argc, char** argv, const std::string& shotFile, bool fault);
void CrashTestShotWhileReporting(int step);
// Queues the end of the loop.
void CrashTestQuitSoon();
// Runs fn from the loop once the current event is done.
void CrashTestLater(std::function<void()> fn);
