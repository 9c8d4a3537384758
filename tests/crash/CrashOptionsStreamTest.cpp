#include "crash/modules/CrashOptions.h"
#include "crash/modules/CrashOptionsStream.h"

#include <gtest/gtest.h>

using namespace rasp;

namespace {
// Writes a stream of an older data version field by field, as the version
// table lists the fields; the values are chosen to differ from the defaults.
struct TOldStream {
  explicit TOldStream(uint16_t v) : V(v) {}
  uint16_t V;
  TByteWriter W;
  void Str(const std::string& s) { WriteCrashString(W, s); }

  std::vector<uint8_t> Build(int32_t freezeTimeout, bool showDialog, uint8_t sendMode, const std::string& host) {
    W.u8(0);        // ReservedFlag
    W.u8(0);        // UseExceptionFilter
    W.u8(3);        // ReportOptions
    W.u8(V < 450 ? !showDialog : showDialog);
    W.u8(1);        // LogInMessageBody
    if (V >= 450) { W.u8(1); W.u8(1); W.u8(0); }  // SendEntireLog, AttachScreenshot, ShowSendProgress
    if (V >= 401) { W.u8(0); W.u8(2); }           // SaveLogFile, FirstTab
    if (V >= 403) W.u8(0);                        // StyledDialogs
    if (V >= 420) W.u8(1);                        // FreezeActivate
    if (V >= 420) { W.i32(freezeTimeout); Str("Frozen!"); }
    if (V >= 450) Str("me@example.com");
    if (V >= 420) Str(host);
    if (V >= 450) W.u16(2525);
    if (V >= 421) { Str("user"); Str("secret"); W.u8(0); }
    W.u8(0);         // ShowTerminateBtn
    W.i32(9);        // ErrorsNumberToSave
    W.i32(5);        // ErrorsNumberToShowTerminateBtn
    Str("a@example.com;b@example.com");
    Str("Subject");
    W.u8(sendMode);
    W.u32(0x1FF);    // LogItems
    if (V < 450) W.u8(0xEE);
    Str("/var/log");
    W.u32(1);
    Str("EFiltered");
    Str("Filtered message");
    Str("Body");
    for (int i = 0; i < 71; ++i)
      if (CrashCustomTextStored(i, V)) Str("T" + std::to_string(i));
    return W.take();
  }
};

std::unique_ptr<TCrashModuleOptions> Load(const std::vector<uint8_t>& bytes, uint16_t v, bool* ok = nullptr) {
  auto o = std::make_unique<TCrashModuleOptions>("", false);
  TByteReader r(bytes.data(), bytes.size());
  bool loaded = o->LoadFromStream(r, v);
  if (ok) *ok = loaded;
  return o;
}
} // namespace

TEST(CrashOptionsStream, RoundTripOfEveryStoredField) {
  TCrashModuleOptions a("", false);
  a.SetSMTPFrom("from@example.com");
  a.SetSMTPHost("smtp.example.com");
  a.SetSMTPUserID("u");
  a.SetSMTPPassword("p");
  a.SetSMTPPort(587);
  a.SetTerminateBtnOperation(0);
  a.SetFreezeActivate(true);
  a.SetFreezeTimeout(12);
  a.SetFreezeMessage("Stuck.");
  a.SetStyledDialogs(false);
  a.SetLogItems(0x00ABCDEF);
  a.SetReservedFlag(false);
  a.SetUseExceptionFilter(false);
  a.SetShowDialog(false);
  a.SetLogInMessageBody(true);
  a.SetAttachScreenshot(true);
  a.SetShowSendProgress(false);
  a.SetShowTerminateBtn(false);
  a.SetSaveLogFile(false);
  a.SetSendEntireLog(true);
  a.SetReportOptions(3);
  a.SetFirstTab(3);
  a.SetErrorsNumberToSave(99);
  a.SetErrorsNumberToShowTerminateBtn(7);
  a.SetOutputPath("/tmp/x.cwf");
  a.SetEmailAddresses("a@b");
  a.SetEmailSubject("subj");
  a.SetEmailMessage("msg");
  a.SetEmailSendMode(esmSMTPClient);
  for (int i = 0; i < 71; ++i) a.SetCustomText(i, "text " + std::to_string(i));
  TByteWriter w;
  a.SaveToStream(w);
  auto b = Load(w.data(), 460);
  TByteWriter again;
  b->SaveToStream(again);
  EXPECT_EQ(again.data(), w.data());
  EXPECT_EQ(b->SMTPPort(), 587);
  EXPECT_EQ(b->CustomText(70), "text 70");
  EXPECT_EQ(b->EmailSendMode(), esmSMTPClient);
  EXPECT_TRUE(b->FreezeActivate());
}

TEST(CrashOptionsStream, FilterListsOfDifferentLengths) {
  TCrashModuleOptions a("", false);
  a.ExceptionFilterClasses().Add("EOne");
  a.ExceptionFilterClasses().Add("ETwo");
  a.ExceptionFilterMessages().Add("m1");
  a.ExceptionFilterMessages().Add("m2");
  a.ExceptionFilterMessages().Add("m3");
  TByteWriter w;
  a.SaveToStream(w);
  auto b = Load(w.data(), 460);
  ASSERT_EQ(b->ExceptionFilterClasses().Count(), 3);
  ASSERT_EQ(b->ExceptionFilterMessages().Count(), 3);
  EXPECT_EQ(b->ExceptionFilterClasses()[2], "");
  EXPECT_EQ(b->ExceptionFilterMessages()[2], "m3");
  // Loading replaces the lists rather than adding to them.
  TByteReader r(w.data().data(), w.size());
  ASSERT_TRUE(b->LoadFromStream(r));
  EXPECT_EQ(b->ExceptionFilterClasses().Count(), 3);
}

TEST(CrashOptionsStream, FinalLineBreakRule) {
  EXPECT_EQ(CrashStoredString("abc\r\n"), "abc");
  EXPECT_EQ(CrashStoredString("a\r\nb\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(CrashStoredString("abc"), "abc");
  EXPECT_EQ(CrashStoredString("\r\n"), "");
  TCrashModuleOptions a("", false);
  a.SetCustomText(5, "abc\r\n");
  a.SetCustomText(6, "one\r\ntwo\r\n");
  TByteWriter w;
  a.SaveToStream(w);
  auto b = Load(w.data(), 460);
  EXPECT_EQ(b->CustomText(5), "abc");
  EXPECT_EQ(b->CustomText(6), "one\r\ntwo\r\n");
}

TEST(CrashOptionsStream, StringsAreStoredWithTheKey) {
  TByteWriter w;
  WriteCrashString(w, "AB");
  ASSERT_EQ(w.size(), 6u);
  EXPECT_EQ(w.data()[0], 2);
  EXPECT_EQ(w.data()[4], uint8_t('A' ^ CrashStringKey));
  EXPECT_EQ(w.data()[5], uint8_t('B' ^ CrashStringKey));
}

TEST(CrashOptionsStream, FreezeTimeoutOfVersion420IsInMilliseconds) {
  auto v420 = Load(TOldStream{420}.Build(5000, true, 1, "h"), 420);
  EXPECT_EQ(v420->FreezeTimeout(), 5);
  auto v421 = Load(TOldStream{421}.Build(5000, true, 1, "h"), 421);
  EXPECT_EQ(v421->FreezeTimeout(), 5);
  auto v422 = Load(TOldStream{422}.Build(5000, true, 1, "h"), 422);
  EXPECT_EQ(v422->FreezeTimeout(), 5000);
}

TEST(CrashOptionsStream, EveryOlderVersionReadsItsFields) {
  for (uint16_t v : {400, 401, 402, 403, 419, 420, 421, 422, 423, 449, 450, 460}) {
    SCOPED_TRACE(v);
    bool ok = false;
    auto o = Load(TOldStream{v}.Build(30, false, 3, "smtp.example.com"), v, &ok);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(o->ShowDialog());  // read inverted before 450
    EXPECT_EQ(o->ReportOptions(), 3);
    EXPECT_EQ(o->ErrorsNumberToSave(), 9);
    EXPECT_EQ(o->EmailAddresses(), "a@example.com;b@example.com");
    EXPECT_EQ(o->LogItems(), 0x1FFu);
    EXPECT_EQ(o->OutputPath(), "/var/log");
    EXPECT_EQ(o->EmailMessage(), "Body");
    ASSERT_EQ(o->ExceptionFilterClasses().Count(), 1);
    EXPECT_EQ(o->ExceptionFilterMessages()[0], "Filtered message");
    // Absent fields keep their defaults.
    EXPECT_EQ(o->SMTPPort(), v >= 450 ? 2525 : 25);
    EXPECT_EQ(o->SMTPFrom(), v >= 450 ? "me@example.com" : CrashDefaultSMTPFrom);
    EXPECT_EQ(o->SaveLogFile(), v < 401);
    EXPECT_EQ(o->FirstTab(), v >= 401 ? 2 : 0);
    EXPECT_EQ(o->StyledDialogs(), v < 403);
    EXPECT_EQ(o->FreezeActivate(), v >= 420);
    EXPECT_EQ(o->FreezeMessage(), v >= 420 ? "Frozen!" : CrashDefaultFreezeMessage);
    EXPECT_EQ(o->SMTPHost(), v >= 420 ? "smtp.example.com" : "");
    EXPECT_EQ(o->SMTPUserID(), v >= 421 ? "user" : "");
    EXPECT_EQ(o->TerminateBtnOperation(), v >= 421 ? 0 : 1);
    EXPECT_EQ(o->SendEntireLog(), v >= 450);
    // Before 450 a send mode only said "send": by server when one is named.
    EXPECT_EQ(o->EmailSendMode(), v >= 450 ? esmSMTPClient : v >= 420 ? esmSMTPServer : esmEmailClient);
    for (int i = 0; i < 71; ++i)
      EXPECT_EQ(o->CustomText(i), CrashCustomTextStored(i, v) ? "T" + std::to_string(i) : CrashDefaultCustomText(i))
          << i;
  }
  EXPECT_FALSE(CrashCustomTextStored(15, 419));
  EXPECT_TRUE(CrashCustomTextStored(15, 420));
  EXPECT_FALSE(CrashCustomTextStored(14, 420));
  EXPECT_FALSE(CrashCustomTextStored(53, 449));
  EXPECT_TRUE(CrashCustomTextStored(52, 449));
}

TEST(CrashOptionsStream, StoredZeroErrorsNumberCountsAsOne) {
  // ErrorsNumberToSave found by its value.
  TCrashModuleOptions a("", false);
  a.SetErrorsNumberToSave(1234567);
  TByteWriter w;
  a.SaveToStream(w);
  auto data = w.take();
  for (size_t i = 0; i + 4 <= data.size(); ++i)
    if (data[i] == 0x87 && data[i + 1] == 0xD6 && data[i + 2] == 0x12 && data[i + 3] == 0) {
      std::fill(data.begin() + long(i), data.begin() + long(i) + 4, 0);
      break;
    }
  auto b = Load(data, 460);
  EXPECT_EQ(b->ErrorsNumberToSave(), 1);
}

TEST(CrashOptionsStream, EveryTruncationIsRejectedAndChangesNothing) {
  TCrashModuleOptions a("", false);
  a.SetSMTPHost("host");
  a.ExceptionFilterClasses().Add("E");
  TByteWriter w;
  a.SaveToStream(w);
  const auto& full = w.data();
  for (size_t n = 0; n < full.size(); ++n) {
    TCrashModuleOptions o("", false);
    o.SetSMTPHost("before");
    TByteReader r(full.data(), n);
    ASSERT_FALSE(o.LoadFromStream(r)) << n;
    EXPECT_EQ(o.SMTPHost(), "before");
    EXPECT_EQ(o.ExceptionFilterClasses().Count(), 0);
  }
}

TEST(CrashOptionsStream, HostileLengthsAreRejected) {
  TCrashModuleOptions a("", false);
  TByteWriter w;
  a.SaveToStream(w);
  std::vector<uint8_t> bytes = w.take();
  // The first string (FreezeMessage) length sits at offset 16.
  std::vector<uint8_t> longString = bytes;
  longString[16] = longString[17] = longString[18] = longString[19] = 0xFF;
  bool ok = true;
  Load(longString, 460, &ok);
  EXPECT_FALSE(ok);
  // A filter count far beyond what is left.
  TByteWriter head;
  TCrashModuleOptions b("", false);
  b.SaveToStream(head);
  std::vector<uint8_t> lie = head.take();
  size_t countAt = 0;
  {
    TCrashModuleOptions probe("", false);
    probe.ExceptionFilterClasses().Add(std::string(1, char(0x5A)));
    TByteWriter p;
    probe.SaveToStream(p);
    for (size_t i = 0; i + 4 < p.size(); ++i)
      if (p.data()[i] == 1 && p.data()[i + 1] == 0 && p.data()[i + 4] == 1 && p.data()[i + 8] == (0x5A ^ CrashStringKey))
        countAt = i;
  }
  ASSERT_GT(countAt, 0u);
  lie[countAt] = 0xFF;
  lie[countAt + 1] = 0xFF;
  lie[countAt + 2] = 0xFF;
  Load(lie, 460, &ok);
  EXPECT_FALSE(ok);
}
