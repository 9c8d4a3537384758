#include "crash/modules/CrashModuleFile.h"
#include "crash/modules/CrashOptionsEx.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace rasp;

namespace {
// Counts announcements instead of publishing them.
class TCountingOptions : public TCrashModuleOptions {
public:
  using TCrashModuleOptions::TCrashModuleOptions;
  void Changed() override { ++Count; }
  int Count = 0;
};
} // namespace

TEST(CrashOptions, DefaultsOfEveryField) {
  TCrashModuleOptions o("/opt/app/prog", false);
  EXPECT_EQ(o.SMTPFrom(), CrashDefaultSMTPFrom);
  EXPECT_EQ(o.SMTPPort(), 25);
  EXPECT_EQ(o.TerminateBtnOperation(), 1);
  EXPECT_FALSE(o.FreezeActivate());
  EXPECT_EQ(o.FreezeTimeout(), 60);
  EXPECT_EQ(o.FreezeMessage(), "The application seems to be frozen.");
  EXPECT_TRUE(o.StyledDialogs());
  EXPECT_EQ(o.LogItems(), 0xFFFFFFFFu);
  EXPECT_EQ(o.ExceptionFilterClasses().Count(), 0);
  EXPECT_TRUE(o.ReservedFlag());
  EXPECT_TRUE(o.UseExceptionFilter());
  EXPECT_TRUE(o.ShowDialog());
  EXPECT_FALSE(o.LogInMessageBody());
  EXPECT_FALSE(o.AttachScreenshot());
  EXPECT_TRUE(o.ShowSendProgress());
  EXPECT_TRUE(o.ShowTerminateBtn());
  EXPECT_TRUE(o.SaveLogFile());
  EXPECT_FALSE(o.SendEntireLog());
  EXPECT_EQ(o.ReportOptions(), 0);
  EXPECT_EQ(o.FirstTab(), 0);
  EXPECT_EQ(o.ErrorsNumberToSave(), 32);
  EXPECT_EQ(o.ErrorsNumberToShowTerminateBtn(), 3);
  EXPECT_EQ(o.EmailSendMode(), esmNoSend);
  EXPECT_TRUE(o.Activate());
  EXPECT_EQ(o.UpdateCount(), 0);
  EXPECT_EQ(o.ModuleName(), "/opt/app/prog");
}

TEST(CrashOptions, SeventyOneCustomTexts) {
  TCrashModuleOptions o("", false);
  EXPECT_EQ(o.CustomText(0), "Information.");
  EXPECT_EQ(o.CustomText(3),
            "An error has occurred during program execution.\r\nPlease read the following information for further "
            "details.");
  EXPECT_EQ(o.CustomText(11), "CPU Information");
  EXPECT_EQ(o.CustomText(14), "&Restart");
  EXPECT_EQ(o.CustomText(22), "Version Number");
  EXPECT_EQ(o.CustomText(46), "Language");
  EXPECT_EQ(o.CustomText(52), "Line");
  EXPECT_EQ(o.CustomText(58), "Sending message...");
  EXPECT_EQ(o.CustomText(61), "&OK");
  EXPECT_EQ(o.CustomText(67), "Path");
  EXPECT_EQ(o.CustomText(70), "Memory Dump");
  EXPECT_EQ(o.CustomText(71), "");
  EXPECT_EQ(o.CustomText(-1), "");
  for (int i = 0; i < 71; ++i) EXPECT_FALSE(o.CustomText(i).empty()) << i;
}

TEST(CrashOptions, LogFileNameFollowsOutputPath) {
  TCrashModuleOptions o("/opt/App/prog", false);
  EXPECT_EQ(o.LogFileName(), "/opt/App/prog.cwf");
  o.SetOutputPath("/var/log/rasp");
  EXPECT_EQ(o.LogFileName(), "/var/log/rasp/prog.cwf");
  o.SetOutputPath("/var/log/rasp/");
  EXPECT_EQ(o.LogFileName(), "/var/log/rasp/prog.cwf");
  o.SetOutputPath("/data/x/all.CWF");
  EXPECT_EQ(o.LogFileName(), "/data/x/all.CWF");
  // A folder whose name merely contains the extension is a folder.
  o.SetOutputPath("/data/x.cwf/logs");
  EXPECT_EQ(o.LogFileName(), "/data/x.cwf/logs/prog.cwf");

  TCrashModuleOptions lib("/usr/lib/libthing.so.1", false);
  EXPECT_EQ(lib.LogFileName(), "/usr/lib/libthing.so.cwf");
  TCrashModuleOptions dotted("/home/u/my.app/tellivo-rasp", false);
  EXPECT_EQ(dotted.LogFileName(), "/home/u/my.app/tellivo-rasp.cwf");
}

TEST(CrashOptions, ErrorsNumberToSaveIsAtLeastOne) {
  TCrashModuleOptions o("", false);
  o.SetErrorsNumberToSave(0);
  EXPECT_EQ(o.ErrorsNumberToSave(), 1);
  o.SetErrorsNumberToSave(-5);
  EXPECT_EQ(o.ErrorsNumberToSave(), 1);
  o.SetErrorsNumberToSave(7);
  EXPECT_EQ(o.ErrorsNumberToSave(), 7);
}

TEST(CrashOptions, OneChangedForTenSettersInsideAnUpdate) {
  TCountingOptions running(CrashRunningModule().FileName, true);
  ASSERT_FALSE(running.ModuleName().empty());
  running.BeginUpdate();
  running.SetSMTPHost("mail.example.com");
  running.SetSMTPPort(2525);
  running.SetShowDialog(false);
  running.SetFreezeTimeout(30);
  running.SetEmailAddresses("a@example.com");
  running.SetEmailSubject("s");
  running.SetFirstTab(2);
  running.SetErrorsNumberToSave(4);
  running.SetCustomText(12, "&Fine");
  running.ExceptionFilterClasses().Add("EFoo");
  EXPECT_EQ(running.Count, 0);
  running.EndUpdate();
  EXPECT_EQ(running.Count, 1);
  // Outside an update every setter announces.
  running.SetSMTPHost("other");
  EXPECT_EQ(running.Count, 2);

  // The current options: no module name, no notification.
  TCountingOptions current("", false);
  current.BeginUpdate();
  for (int i = 0; i < 10; ++i) current.SetFreezeTimeout(i + 1);
  current.EndUpdate();
  current.SetSMTPHost("x");
  EXPECT_EQ(current.Count, 0);
  // Another module's options do not announce either.
  TCountingOptions other("/usr/lib/libother.so", true);
  other.SetSMTPHost("x");
  EXPECT_EQ(other.Count, 0);
}

TEST(CrashOptions, AssignCopiesOptionsButNotIdentity) {
  TCountingOptions a("/a", false), b(CrashRunningModule().FileName, true);
  a.SetSMTPHost("h");
  a.SetCustomText(70, "Dump");
  a.ExceptionFilterClasses().Add("EOne");
  a.SetActivate(false);
  b.Assign(&a);
  EXPECT_EQ(b.SMTPHost(), "h");
  EXPECT_EQ(b.CustomText(70), "Dump");
  EXPECT_EQ(b.ExceptionFilterClasses().Count(), 1);
  EXPECT_EQ(b.ModuleName(), CrashRunningModule().FileName);
  EXPECT_TRUE(b.Activate());
  EXPECT_TRUE(b.NotifyChanges());
  EXPECT_EQ(b.Count, 1);  // one announcement for the whole copy
  b.Assign(&b);
  EXPECT_EQ(b.Count, 1);
  try {
    b.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Impossible to assign nil as TCrashModuleOptions.");
  }
}

TEST(CrashOptions, PublishedSectionReachesAReader) {
  uintptr_t handle = 0x7f00deadbeef000;
  EXPECT_EQ(CrashOptionsSectionName(1240, 0x400000), "000004D80000000000400000MODULE");
  TCrashModuleOptions o("", false);
  o.SetSMTPHost("published.example.com");
  TByteWriter w;
  w.u8(1);
  o.SaveToStream(w);
  ASSERT_TRUE(PublishCrashOptionsSection(handle, w.data()));
  auto read = ReadCrashOptionsSection(handle);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), w.size());
  TCrashModuleOptions back("", false);
  TByteReader r(read->data() + 1, read->size() - 1);
  ASSERT_TRUE(back.LoadFromStream(r));
  EXPECT_EQ(back.SMTPHost(), "published.example.com");
  DeleteCrashOptionsSection(handle);
  EXPECT_FALSE(ReadCrashOptionsSection(handle));
}

TEST(CrashOptions, SectionsOfEndedProcessesAreSwept) {
  // A process id above any the kernel hands out: that process is gone.
  const std::string stale = "/7FFFFFF00000000000001000MODULE";
  int fd = shm_open(stale.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  close(fd);
  PublishCrashOptionsSection(0x7f00deadbeef000, {0});
  SweepStaleCrashOptionsSections();
  fd = shm_open(stale.c_str(), O_RDONLY, 0);
  EXPECT_LT(fd, 0);
  if (fd >= 0) {
    close(fd);
    shm_unlink(stale.c_str());
  }
  // Our own live section stays.
  EXPECT_TRUE(ReadCrashOptionsSection(0x7f00deadbeef000));
  DeleteCrashOptionsSection(0x7f00deadbeef000);
}

TEST(CrashOptions, RunningModuleChangesArePublished) {
  TCrashModuleOptionsEx o(CrashRunningModule().FileName, true);
  o.SetEmailSubject("changed at run time");
  auto read = ReadCrashOptionsSection(CrashRunningModule().Handle);
  ASSERT_TRUE(read);
  ASSERT_FALSE(read->empty());
  EXPECT_EQ((*read)[0], 1);
  TCrashModuleOptions back("", false);
  TByteReader r(read->data() + 1, read->size() - 1);
  ASSERT_TRUE(back.LoadFromStream(r));
  EXPECT_EQ(back.EmailSubject(), "changed at run time");
  DeleteCrashOptionsSection(CrashRunningModule().Handle);
}

namespace {
int WatchdogCalls = 0;
bool WatchdogRunning = false;
void Watchdog(bool run) {
  ++WatchdogCalls;
  WatchdogRunning = run;
}
} // namespace

TEST(CrashOptions, FreezeActivateSwitchesTheWatchdogOfTheRunningModule) {
  SetCrashFreezeWatchdogSwitch(&Watchdog);
  TCrashModuleOptionsEx running(CrashRunningModule().FileName, false);
  running.SetFreezeActivate(true);
  EXPECT_TRUE(WatchdogRunning);
  running.SetFreezeActivate(true);  // no change, no switch
  EXPECT_EQ(WatchdogCalls, 1);
  running.SetActivate(false);
  EXPECT_FALSE(WatchdogRunning);
  TCrashModuleOptionsEx other("/usr/lib/libother.so", false);
  other.SetFreezeActivate(true);
  EXPECT_EQ(WatchdogCalls, 2);
  SetCrashFreezeWatchdogSwitch(nullptr);
}
