// Import slot redirection on the test's own executable.
#include "crash/capture/CrashHook.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace rasp {
namespace {

pid_t FakeGetpid() { return 4242; }

// Called through a pointer the compiler cannot see through, so the call goes
// through the PLT and its GOT slot.
pid_t (*volatile CallGetpid)() = [] { return getpid(); };

TEST(CrashHook, RedirectsAndRestoresImportSlots) {
  pid_t real = getpid();
  {
    TCrashImportHooks hooks;
    uintptr_t previous = hooks.HookImport([](const std::string& file) { return file.find("crash_report_test") != std::string::npos; },
                                          "getpid", reinterpret_cast<uintptr_t>(&FakeGetpid));
    EXPECT_NE(previous, 0u);
    EXPECT_GE(hooks.SlotCount(), 1u);
    EXPECT_EQ(CallGetpid(), 4242);
    EXPECT_EQ(reinterpret_cast<pid_t (*)()>(previous)(), real) << "the previous routine is the real one";
  }
  EXPECT_EQ(CallGetpid(), real) << "the slots are written back";
}

TEST(CrashHook, AMissingRoutineIsAnError) {
  TCrashImportHooks hooks;
  try {
    hooks.HookImport([](const std::string&) { return true; }, "no_such_routine_anywhere", 1);
    FAIL();
  } catch (const EProcNull& e) {
    EXPECT_STREQ(e.what(), "Cannot hook a null procedure (\"no_such_routine_anywhere\").");
  }
}

} // namespace
} // namespace rasp
