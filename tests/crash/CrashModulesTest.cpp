#include "crash/modules/CrashModules.h"
#include "tests/crash/CrashResolveProbe.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>
#include <zlib.h>

#include <filesystem>

using namespace rasp;
using crashprobe::TResolveProbe;

namespace {
uintptr_t Addr(auto fn) { return reinterpret_cast<uintptr_t>(fn); }
} // namespace

TEST(CrashModules, TheRunningModuleCarriesTheBlockOfTheBuildStep) {
  TCrashModulesList list;
  TCrashModulePtr rec = list.RunningModuleRecord();
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->FileName, std::filesystem::canonical("/proc/self/exe").string());
  EXPECT_EQ(rec->ModuleKind, mkExecutable);
  EXPECT_TRUE(rec->IsMain);
  EXPECT_FALSE(rec->Version.empty());
  EXPECT_NE(rec->FileDate, 0);
  EXPECT_GT(rec->FileSize, 0u);
  ASSERT_TRUE(rec->HasDebugData());
  EXPECT_EQ(rec->DataVersion, 460);
  EXPECT_NE(rec->HeaderValues[0], 0u);  // the build time
  // The options of tests/crash/crash-test-options.ini.
  EXPECT_FALSE(rec->Options->ShowDialog());
  EXPECT_EQ(rec->Options->SMTPHost(), "127.0.0.1");
  EXPECT_EQ(rec->Options->SMTPPort(), 2525);
  EXPECT_EQ(rec->Options->EmailSendMode(), esmSMTPServer);
  EXPECT_EQ(rec->Options->CustomText(12), "&Fine");
  EXPECT_EQ(rec->Options->LogItems(), (1u << liAppName) | (1u << liExcAddress));
  ASSERT_EQ(rec->Options->ExceptionFilterClasses().Count(), 1);
  EXPECT_EQ(rec->Options->ExceptionFilterMessages()[0], "Ignored.");
  ASSERT_FALSE(rec->Functions.empty());
  EXPECT_TRUE(std::is_sorted(rec->Functions.begin(), rec->Functions.end(),
                             [](const auto& a, const auto& b) { return a.Address < b.Address; }));
  EXPECT_EQ(list.ModuleRecord(rec->Handle), rec);  // built once
  EXPECT_FALSE(list.ModuleRecord(0x10));
}

TEST(CrashModules, TheRunningModulesSectionLivesWithTheList) {
  {
    TCrashModulesList list;
    list.RunningModuleRecord();
    auto section = ReadCrashOptionsSection(CrashRunningModule().Handle);
    ASSERT_TRUE(section);
    ASSERT_FALSE(section->empty());
    EXPECT_EQ((*section)[0], 1);
  }
  EXPECT_FALSE(ReadCrashOptionsSection(CrashRunningModule().Handle));
}

TEST(CrashModules, CurrentCrashwiseOptionsNeedsTheReporter) {
  try {
    CurrentCrashwiseOptions(nullptr);
    FAIL();
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "Cannot use 'CurrentCrashwiseOptions' function without Crashwise activate.");
  }
  TCrashModulesList list;
  EXPECT_EQ(CurrentCrashwiseOptions(&list).SMTPPort(), 2525);
}

TEST(CrashModules, ResolvesAKnownRoutineToFileClassRoutineAndLine) {
  TCrashModulesList list;
  uintptr_t start = Addr(&TResolveProbe::KnownRoutine);
  TCrashDebugInfo info = list.ResolveAddress(start);
  EXPECT_EQ(info.Detail, 4);
  EXPECT_EQ(info.UnitFile, "CrashResolveProbe.cpp");
  EXPECT_EQ(info.OwnerClass, "crashprobe::TResolveProbe");
  EXPECT_EQ(info.Routine, "KnownRoutine");
  EXPECT_EQ(info.LineNo, uint32_t(TResolveProbe::KnownRoutineLine()));
  EXPECT_EQ(info.Module, list.RunningModuleRecord());

  int callLine = 0;
  uintptr_t ret = TResolveProbe::CallSite(callLine);
  info = list.ResolveAddress(ret - 1);
  EXPECT_EQ(info.Detail, 4);
  EXPECT_EQ(info.Routine, "CallSite");
  EXPECT_EQ(info.LineNo, uint32_t(callLine));

  info = list.ResolveAddress(Addr(&crash_probe_plain_function) + 2);
  EXPECT_EQ(info.Detail, 4);
  EXPECT_EQ(info.OwnerClass, "");
  EXPECT_EQ(info.Routine, "crash_probe_plain_function");

  EXPECT_EQ(list.FindRoutine("crashprobe::TResolveProbe::KnownRoutine"), start);
  EXPECT_FALSE(list.FindRoutine("crashprobe::TResolveProbe::Nothing"));
}

TEST(CrashModules, LibrariesResolveThroughTheirSymbols) {
  TCrashModulesList list;
  uintptr_t fn = Addr(&zlibVersion);
  TCrashDebugInfo info = list.ResolveAddress(fn);
  ASSERT_TRUE(info.Module);
  EXPECT_NE(info.Module, list.RunningModuleRecord());
  EXPECT_EQ(info.Module->ModuleKind, mkLibrary);
  EXPECT_FALSE(info.Module->HasDebugData());
  EXPECT_EQ(info.Module->DataVersion, 460);
  EXPECT_EQ(info.Detail, 2);
  EXPECT_EQ(info.Routine, "zlibVersion");
  EXPECT_TRUE(info.Module->Version.empty());

  // Nothing at all for an address no module holds.
  info = list.ResolveAddress(0x10);
  EXPECT_EQ(info.Detail, 0);
  EXPECT_FALSE(info.Module);

  // The current options come from the running module for a module without
  // debug data.
  TCrashModuleOptionsEx current("", false);
  SelectCurrentOptions(list, fn, current);
  EXPECT_EQ(current.ModuleName(), list.RunningModuleRecord()->FileName);
  EXPECT_EQ(current.SMTPPort(), 2525);
}

TEST(CrashModules, RefreshListsEveryModuleSortedByHandle) {
  TCrashModulesList list;
  list.RunningModuleRecord();
  list.RefreshModuleList();
  const auto& recs = list.Records();
  ASSERT_GE(recs.size(), 3u);
  EXPECT_TRUE(std::is_sorted(recs.begin(), recs.end(), [](const auto& a, const auto& b) { return a->Handle < b->Handle; }));
  int main = 0, light = 0;
  for (const auto& r : recs) {
    main += r->IsMain;
    light += r->ModuleKind == mkLight;
    EXPECT_EQ(r->FileName[0], '/');
  }
  EXPECT_EQ(main, 1);
  EXPECT_GE(light, 1);
  // A light record becomes a full one on first use.
  for (const auto& r : std::vector<TCrashModulePtr>(recs))
    if (r->ModuleKind == mkLight) {
      TCrashModulePtr full = list.ModuleRecord(r->Handle);
      ASSERT_TRUE(full);
      EXPECT_NE(full->ModuleKind, mkLight);
      break;
    }
}

TEST(CrashModules, AModuleWhoseFileChangedOrVanishedHasNoDebugData) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(testing::TempDir()) / "crash_probe_copy";
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::path lib = dir / "libcrashprobe.so";
  fs::copy_file(CRASH_PROBE_LIB, lib);
  void* handle = dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_TRUE(handle) << dlerror();
  uintptr_t fn = Addr(dlsym(handle, "crash_probe_lib_routine"));
  ASSERT_NE(fn, 0u);

  TCrashModulesList list;
  TCrashDebugInfo info = list.ResolveAddress(fn);
  ASSERT_TRUE(info.Module);
  EXPECT_EQ(info.Module->FileName, lib.string());
  EXPECT_TRUE(info.Module->HasDebugData());
  EXPECT_EQ(info.Detail, 4);
  EXPECT_EQ(info.UnitFile, "CrashProbeLib.cpp");
  EXPECT_EQ(info.Routine, "crash_probe_lib_routine");
  // A module with debug data gives its own options to a report.
  TCrashModuleOptionsEx current("", false);
  SelectCurrentOptions(list, fn, current);
  EXPECT_EQ(current.ModuleName(), lib.string());

  // Replaced by another file (as an upgrade does: a new file renamed over it).
  fs::path other = dir / "other.so";
  fs::copy_file(fs::path(CRASHBLOCK_TOOL), other);
  struct utimbuf times {1000000000, 1000000000};
  utime(other.c_str(), &times);
  fs::rename(other, lib);
  list.DropChangedModules();
  for (const auto& r : list.Records()) EXPECT_NE(r->FileName, lib.string());
  info = list.ResolveAddress(fn);
  ASSERT_TRUE(info.Module);
  EXPECT_FALSE(info.Module->HasDebugData());
  EXPECT_TRUE(info.Module->Functions.empty());
  EXPECT_EQ(info.Detail, 1);
  EXPECT_EQ(info.Module->Options->SMTPPort(), 25);  // defaults, not the other file's

  // Vanished.
  fs::remove(lib);
  list.DropChangedModules();
  info = list.ResolveAddress(fn);
  ASSERT_TRUE(info.Module);
  EXPECT_EQ(info.Module->FileDate, 0);
  EXPECT_FALSE(info.Module->HasDebugData());
  EXPECT_EQ(info.Detail, 1);
  // Still loaded, so still listed, but only as a light record now.
  list.RefreshModuleList();
  int listed = 0;
  for (const auto& r : list.Records())
    if (r->FileName == lib.string()) {
      ++listed;
      EXPECT_EQ(r->ModuleKind, mkLight);
      EXPECT_EQ(r->FileDate, 0);
    }
  EXPECT_EQ(listed, 1);
  dlclose(handle);
  fs::remove_all(dir);
}
