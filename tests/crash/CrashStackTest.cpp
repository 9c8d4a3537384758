#include "crash/modules/CrashMemory.h"
#include "crash/modules/CrashModules.h"
#include "tests/crash/CrashResolveProbe.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace rasp;
using crashprobe::TResolveProbe;

namespace {
std::vector<std::string> Routines(const TCrashStackList& list) {
  std::vector<std::string> out;
  for (const TCrashDebugInfo& i : list.Items())
    if (i.Detail >= 2) out.push_back(i.Routine + ":" + std::to_string(i.LineNo));
  return out;
}
} // namespace

TEST(CrashMemory, ReadsWithoutTouching) {
  for (auto method : {TCrashMemoryProbe::pmVmRead, TCrashMemoryProbe::pmPipe}) {
    TCrashMemoryProbe probe(method);
    uint64_t value = 0x1122334455667788, out = 0;
    if (method == TCrashMemoryProbe::pmVmRead && !probe.Read(uintptr_t(&value), &out, 8)) continue;  // sandboxed
    ASSERT_TRUE(probe.Read(uintptr_t(&value), &out, 8));
    EXPECT_EQ(out, value);
    long page = sysconf(_SC_PAGESIZE);
    void* p = mmap(nullptr, size_t(page) * 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(p, MAP_FAILED);
    mprotect(static_cast<char*>(p) + page, size_t(page), PROT_NONE);
    EXPECT_TRUE(probe.Readable(uintptr_t(p), size_t(page)));
    EXPECT_FALSE(probe.Readable(uintptr_t(p) + size_t(page), 8));
    EXPECT_FALSE(probe.Readable(uintptr_t(p) + size_t(page) - 4, 8));  // straddles
    EXPECT_FALSE(probe.Readable(0, 8));
    EXPECT_FALSE(probe.Readable(UINTPTR_MAX - 3, 8));
    // The pipe is still usable after a failed read.
    ASSERT_TRUE(probe.Read(uintptr_t(&value), &out, 8));
    munmap(p, size_t(page) * 2);
  }
}

TEST(CrashStack, ScanFindsReturnAddressesOldOnesToo) {
  int callLine = 0;
  uintptr_t ret = TResolveProbe::CallSite(callLine);
  std::vector<uint64_t> stack(512, 0);
  for (size_t i = 0; i < stack.size(); ++i) stack[i] = i * 3;  // small numbers
  stack[5] = ret;
  stack[6] = uint64_t(uintptr_t(&stack));  // a data pointer
  stack[200] = ret;                        // stale: merely looks like one
  TCrashModulesList list;
  TCrashStackList found = list.BuildCallStack(std::nullopt, uintptr_t(stack.data()), uintptr_t(stack.data() + 512));
  std::string site = "CallSite:" + std::to_string(callLine);
  std::string target = "KnownRoutine:" + std::to_string(TResolveProbe::KnownRoutineLine());
  // Each relative call gives the routine it calls, then the calling line.
  EXPECT_EQ(Routines(found), (std::vector<std::string>{target, site, target, site}));
  for (const TCrashDebugInfo& i : found.Items()) EXPECT_EQ(i.UnitFile, "CrashResolveProbe.cpp");

  // The exception address comes first.
  uintptr_t plain = reinterpret_cast<uintptr_t>(&crash_probe_plain_function);
  found = list.BuildCallStack(plain, uintptr_t(stack.data()), uintptr_t(stack.data() + 512));
  ASSERT_GE(found.Count(), 1);
  EXPECT_EQ(found[0].Routine, "crash_probe_plain_function");
  EXPECT_EQ(found.Count(), 5);
}

TEST(CrashStack, OnlyTheFirstMebibyteIsScanned) {
  int callLine = 0;
  uintptr_t ret = TResolveProbe::CallSite(callLine);
  std::vector<uint64_t> stack((0x180000) / 8, 0);
  stack[0x100000 / 8 - 1] = ret;  // the last slot inside the bound
  stack[0x100000 / 8] = ret;      // the first one beyond
  stack[0x100000 / 8 + 64] = ret;
  TCrashModulesList list;
  TCrashStackList found =
      list.BuildCallStack(std::nullopt, uintptr_t(stack.data()), uintptr_t(stack.data() + stack.size()));
  EXPECT_EQ(Routines(found).size(), 2u);  // one call: its target and its line
}

TEST(CrashStack, UnreadableStackPartsAreSkipped) {
  int callLine = 0;
  uintptr_t ret = TResolveProbe::CallSite(callLine);
  long page = sysconf(_SC_PAGESIZE);
  auto* p = static_cast<uint64_t*>(
      mmap(nullptr, size_t(page) * 3, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(static_cast<void*>(p), MAP_FAILED);
  size_t perPage = size_t(page) / 8;
  p[perPage - 1] = ret;
  p[2 * perPage + 10] = ret;
  mprotect(p + perPage, size_t(page), PROT_NONE);
  TCrashModulesList list;
  TCrashStackList found = list.BuildCallStack(std::nullopt, uintptr_t(p), uintptr_t(p + 3 * perPage));
  EXPECT_EQ(Routines(found).size(), 4u);
  munmap(p, size_t(page) * 3);
}

namespace {
__attribute__((noinline)) TCrashStackList ScanFromHere(TCrashModulesList& list) {
  uintptr_t sp = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  return list.BuildCallStack(std::nullopt, sp, sp + 0x4000);
}
} // namespace

TEST(CrashStack, TheRealStackOfThisThread) {
  TCrashModulesList list;
  TCrashStackList found = ScanFromHere(list);
  bool sawThisTest = false;
  for (const TCrashDebugInfo& i : found.Items())
    if (i.Detail == 4 && i.UnitFile == "CrashStackTest.cpp") sawThisTest = true;
  EXPECT_TRUE(sawThisTest);
}
