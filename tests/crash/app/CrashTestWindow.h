#pragma once
// The test program's window loop: the real application object, which hands
// exceptions of the loop to the crash reporter.
#include <functional>

int CrashTestRunLoop(int argc, char** argv, const std::function<void()>& inLoop);
void CrashTestStartQThread();
// Queues the end of the loop.
void CrashTestQuitSoon();
