// The options stream: what a module's data block and a published options
// section carry. Little-endian; strings are a 32-bit length and key-XORed
// bytes. Older data versions lack fields that were added over time.
#include "crash/modules/CrashOptions.h"
#include "crash/modules/CrashOptionsStream.h"

#include <algorithm>

namespace rasp {

std::string CrashStoredString(const std::string& s) {
  size_t br = s.find_first_of("\r\n");
  if (br != std::string::npos && br + 2 == s.size() && s.compare(br, 2, "\r\n") == 0)
    return s.substr(0, br);
  return s;
}

void WriteCrashString(TByteWriter& w, const std::string& s) {
  std::string stored = CrashStoredString(s);
  w.u32(uint32_t(stored.size()));
  for (char c : stored) w.u8(uint8_t(uint8_t(c) ^ CrashStringKey));
}

bool ReadCrashString(TByteReader& r, std::string& out) {
  uint32_t n = r.u32();
  std::string_view raw = r.bytes(n);
  if (!r.ok()) return false;
  out.resize(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) out[i] = char(uint8_t(raw[i]) ^ CrashStringKey);
  return true;
}

bool CrashCustomTextStored(int index, uint16_t v) {
  if (index == 15 && v < 420) return false;
  if (index == 14 && v < 421) return false;
  if (v < 450) {
    if ((index >= 8 && index <= 11) || (index >= 16 && index <= 18) || index == 23 || index == 37 ||
        index == 45 || index == 47 || index == 48 || (index >= 53 && index <= 70))
      return false;
  }
  return true;
}

void TCrashModuleOptions::SaveToStream(TByteWriter& w) const {
  w.boolean(FReservedFlag);
  w.boolean(FUseExceptionFilter);
  w.u8(FReportOptions);
  w.boolean(FShowDialog);
  w.boolean(FLogInMessageBody);
  w.boolean(FSendEntireLog);
  w.boolean(FAttachScreenshot);
  w.boolean(FShowSendProgress);
  w.boolean(FSaveLogFile);
  w.u8(FFirstTab);
  w.boolean(FStyledDialogs);
  w.boolean(FFreezeActivate);

  w.i32(FFreezeTimeout);
  WriteCrashString(w, FFreezeMessage);
  WriteCrashString(w, FSMTPFrom);
  WriteCrashString(w, FSMTPHost);
  w.u16(FSMTPPort);
  WriteCrashString(w, FSMTPUserID);
  WriteCrashString(w, FSMTPPassword);
  w.u8(FTerminateBtnOperation);
  w.boolean(FShowTerminateBtn);
  w.i32(FErrorsNumberToSave);
  w.i32(FErrorsNumberToShowTerminateBtn);
  WriteCrashString(w, FEmailAddresses);
  WriteCrashString(w, FEmailSubject);
  w.u8(FEmailSendMode);
  w.u32(FLogItems);
  WriteCrashString(w, FOutputPath);

  int count = std::max(FExceptionFilterClasses.Count(), FExceptionFilterMessages.Count());
  w.u32(uint32_t(count));
  for (int i = 0; i < count; ++i) {
    WriteCrashString(w, FExceptionFilterClasses.At(i));
    WriteCrashString(w, FExceptionFilterMessages.At(i));
  }

  WriteCrashString(w, FEmailMessage);
  for (const std::string& t : FCustomTexts) WriteCrashString(w, t);
}

bool TCrashModuleOptions::LoadFromStream(TByteReader& r, uint16_t v) {
  // Read into a scratch copy first, so that a damaged stream changes nothing.
  TCrashModuleOptions s("", false);
  s.Assign(this);
  s.FExceptionFilterClasses.Clear();
  s.FExceptionFilterMessages.Clear();
  bool ok = true;
  auto str = [&](std::string& out) { ok = ReadCrashString(r, out) && ok; };

  s.FReservedFlag = r.boolean();
  s.FUseExceptionFilter = r.boolean();
  s.FReportOptions = r.u8();
  s.FShowDialog = v < 450 ? !r.boolean() : r.boolean();
  s.FLogInMessageBody = r.boolean();
  if (v >= 450) {
    s.FSendEntireLog = r.boolean();
    s.FAttachScreenshot = r.boolean();
    s.FShowSendProgress = r.boolean();
  }
  if (v >= 401) {
    s.FSaveLogFile = r.boolean();
    s.FFirstTab = r.u8();
  }
  if (v >= 403) s.FStyledDialogs = r.boolean();
  if (v >= 420) s.FFreezeActivate = r.boolean();

  if (v >= 420) {
    s.FFreezeTimeout = r.i32();
    if (v < 422) s.FFreezeTimeout /= 1000;
    str(s.FFreezeMessage);
  }
  if (v >= 450) str(s.FSMTPFrom);
  if (v >= 420) str(s.FSMTPHost);
  if (v >= 450) s.FSMTPPort = r.u16();
  if (v >= 421) {
    str(s.FSMTPUserID);
    str(s.FSMTPPassword);
    s.FTerminateBtnOperation = r.u8();
  }
  s.FShowTerminateBtn = r.boolean();
  s.FErrorsNumberToSave = r.i32();
  if (s.FErrorsNumberToSave < 1) s.FErrorsNumberToSave = 1;
  s.FErrorsNumberToShowTerminateBtn = r.i32();
  str(s.FEmailAddresses);
  str(s.FEmailSubject);
  uint8_t mode = r.u8();
  s.FLogItems = r.u32();
  if (v < 450) r.skip(1);
  str(s.FOutputPath);

  uint32_t count = r.u32();
  // Each pair takes at least eight bytes, so a count beyond that is a lie.
  if (!r.ok() || count > r.left() / 8 || count > CrashMaxListEntries) return false;
  std::vector<std::string> classes(count), messages(count);
  for (uint32_t i = 0; i < count && ok; ++i) {
    str(classes[i]);
    str(messages[i]);
  }
  str(s.FEmailMessage);
  for (int i = 0; i < CrashCustomTextCount && ok; ++i)
    if (CrashCustomTextStored(i, v)) str(s.FCustomTexts[size_t(i)]);
  if (!ok || !r.ok()) return false;

  if (v < 450 && mode != 0) mode = s.FSMTPHost.empty() ? esmEmailClient : esmSMTPServer;
  if (mode > esmSMTPClient) return false;
  s.FEmailSendMode = TCrashEmailSendMode(mode);
  s.FExceptionFilterClasses.Assign(classes);
  s.FExceptionFilterMessages.Assign(messages);

  Assign(&s);
  return true;
}

} // namespace rasp
