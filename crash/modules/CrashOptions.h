#pragma once
// The per-module options of the crash reporter. Every module the reporter
// meets gets one object, loaded from the module's data block; while a report
// runs, the options of the failing module are copied into the current
// options, which every later step reads.
#include "crash/modules/CrashBytes.h"
#include "crash/modules/CrashConsts.h"
#include "crash/modules/CrashStringList.h"
#include "platform/base/ConvertError.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace rasp {

enum TCrashEmailSendMode : uint8_t {
  esmNoSend = 0,
  esmEmailClient = 1,
  esmSMTPServer = 2,
  esmSMTPClient = 3,
};

// Members of ReportOptions (bit numbers).
enum TCrashReportOption : uint8_t {
  loNoDuplicateErrors = 0,
  loAppendReproduceText = 1,
};
using TCrashReportOptions = uint8_t;
// The members with names; the byte's bits 2 and 3 hold SMTPWithoutTLS.
inline constexpr TCrashReportOptions CrashReportOptionMembers = 0x03;

// Whether a report may go to an SMTP server that offers no STARTTLS, in
// clear. Stored in bits 2 and 3 of the ReportOptions byte, so that the
// options stream keeps its layout (older blocks have 0 there: the default).
enum TCrashSMTPWithoutTLS : uint8_t {
  stOnlyWithoutPassword = 0,  // unless a user name or password would travel with it
  stAllowed = 1,
  stRefused = 2,
};

// Members of LogItems (bit numbers): one header item of a log entry each.
enum TCrashLogItem : uint8_t {
  liAppStartDate, liAppName, liAppVersion, liAppParameters,
  liExcDate, liExcAddress, liExcModule, liExcType, liExcMessage,
  liCtrlFormClass, liCtrlFormText, liCtrlControlClass, liCtrlControlText,
  liCompName, liCompUser, liCompTotalMemory, liCompFreeMemory, liCompTotalDisk, liCompFreeDisk,
  liOSType, liOSBuild, liOSUpdate, liOSLanguage,
};
inline constexpr int CrashLogItemCount = 23;
using TCrashLogItems = uint32_t;

// The default sender of the SMTP dialogue until a distributor sets one.
inline constexpr const char* CrashDefaultSMTPFrom = "crash-reporter@localhost";
inline constexpr const char* CrashDefaultFreezeMessage = "The application seems to be frozen.";

const char* CrashDefaultCustomText(int index);

class TCrashModuleOptions {
public:
  TCrashModuleOptions(std::string moduleName, bool notifyChanges);
  virtual ~TCrashModuleOptions() = default;
  TCrashModuleOptions(const TCrashModuleOptions&) = delete;
  TCrashModuleOptions& operator=(const TCrashModuleOptions&) = delete;

  // Virtual operations, kept in their slot order: every options object of
  // the reporter is a TCrashModuleOptionsEx, which overrides the first three.
  virtual void Changed() {}
  virtual void SetActivate(bool value);
  virtual void SetFreezeActivate(bool value);
  // Copies every option except NotifyChanges, UpdateCount, ModuleName and
  // Activate; a null source throws EConvertError.
  virtual void Assign(const TCrashModuleOptions* source);
  virtual void SetDefaults();
  virtual void SaveToStream(TByteWriter& stream) const;
  // Reads the options stream of the given data version. A truncated or
  // damaged stream changes nothing and returns false.
  virtual bool LoadFromStream(TByteReader& stream, uint16_t dataVersion = CrashDataVersion);

  void BeginUpdate();
  void EndUpdate();

  // The crash log file: the module name with the extension ".cwf", placed by
  // OutputFileName.
  std::string LogFileName() const;
  std::string OutputFileName(const std::string& fileName) const;

  // Getters.
  bool NotifyChanges() const { return FNotifyChanges; }
  int32_t UpdateCount() const { return FUpdateCount; }
  const std::string& SMTPFrom() const { return FSMTPFrom; }
  const std::string& SMTPHost() const { return FSMTPHost; }
  const std::string& SMTPUserID() const { return FSMTPUserID; }
  const std::string& SMTPPassword() const { return FSMTPPassword; }
  uint16_t SMTPPort() const { return FSMTPPort; }
  uint8_t TerminateBtnOperation() const { return FTerminateBtnOperation; }
  bool FreezeActivate() const { return FFreezeActivate; }
  int32_t FreezeTimeout() const { return FFreezeTimeout; }
  const std::string& FreezeMessage() const { return FFreezeMessage; }
  bool StyledDialogs() const { return FStyledDialogs; }
  const std::string& ModuleName() const { return FModuleName; }
  TCrashLogItems LogItems() const { return FLogItems; }
  TCrashStringList& ExceptionFilterClasses() { return FExceptionFilterClasses; }
  const TCrashStringList& ExceptionFilterClasses() const { return FExceptionFilterClasses; }
  TCrashStringList& ExceptionFilterMessages() { return FExceptionFilterMessages; }
  const TCrashStringList& ExceptionFilterMessages() const { return FExceptionFilterMessages; }
  // Index 0..70; any other index gives an empty string.
  std::string CustomText(int index) const;
  bool ReservedFlag() const { return FReservedFlag; }
  bool UseExceptionFilter() const { return FUseExceptionFilter; }
  bool ShowDialog() const { return FShowDialog; }
  bool LogInMessageBody() const { return FLogInMessageBody; }
  bool AttachScreenshot() const { return FAttachScreenshot; }
  bool ShowSendProgress() const { return FShowSendProgress; }
  bool ShowTerminateBtn() const { return FShowTerminateBtn; }
  bool SaveLogFile() const { return FSaveLogFile; }
  bool SendEntireLog() const { return FSendEntireLog; }
  TCrashReportOptions ReportOptions() const { return FReportOptions; }
  bool HasReportOption(TCrashReportOption o) const { return FReportOptions & (1u << o); }
  TCrashSMTPWithoutTLS SMTPWithoutTLS() const {
    const unsigned v = (FReportOptions >> 2) & 3u;
    return v == 0 ? stOnlyWithoutPassword : v == 1 ? stAllowed : stRefused;
  }
  uint8_t FirstTab() const { return FFirstTab; }
  int32_t ErrorsNumberToSave() const { return FErrorsNumberToSave < 1 ? 1 : FErrorsNumberToSave; }
  int32_t ErrorsNumberToShowTerminateBtn() const { return FErrorsNumberToShowTerminateBtn; }
  const std::string& OutputPath() const { return FOutputPath; }
  const std::string& EmailAddresses() const { return FEmailAddresses; }
  const std::string& EmailSubject() const { return FEmailSubject; }
  const std::string& EmailMessage() const { return FEmailMessage; }
  TCrashEmailSendMode EmailSendMode() const { return FEmailSendMode; }
  bool Activate() const { return FActivate; }

  // Setters: each stores its value and runs the announcement check.
  void SetNotifyChanges(bool v);
  void SetSMTPFrom(const std::string& v);
  void SetSMTPHost(const std::string& v);
  void SetSMTPUserID(const std::string& v);
  void SetSMTPPassword(const std::string& v);
  void SetSMTPPort(uint16_t v);
  void SetTerminateBtnOperation(uint8_t v);
  void SetFreezeTimeout(int32_t v);
  void SetFreezeMessage(const std::string& v);
  void SetStyledDialogs(bool v);
  void SetModuleName(const std::string& v);
  void SetLogItems(TCrashLogItems v);
  void SetCustomText(int index, const std::string& v);
  void SetReservedFlag(bool v);
  void SetUseExceptionFilter(bool v);
  void SetShowDialog(bool v);
  void SetLogInMessageBody(bool v);
  void SetAttachScreenshot(bool v);
  void SetShowSendProgress(bool v);
  void SetShowTerminateBtn(bool v);
  void SetSaveLogFile(bool v);
  void SetSendEntireLog(bool v);
  void SetReportOptions(TCrashReportOptions v);
  void SetSMTPWithoutTLS(TCrashSMTPWithoutTLS v);
  void SetFirstTab(uint8_t v);
  // 0 (or less) stores 1: the crash log keeps at least one entry.
  void SetErrorsNumberToSave(int32_t v);
  void SetErrorsNumberToShowTerminateBtn(int32_t v);
  void SetOutputPath(const std::string& v);
  void SetEmailAddresses(const std::string& v);
  void SetEmailSubject(const std::string& v);
  void SetEmailMessage(const std::string& v);
  void SetEmailSendMode(TCrashEmailSendMode v);

protected:
  // Calls Changed when no update is open, changes are announced and the
  // options belong to the running module.
  void AnnounceCheck();
  void StoreActivate(bool v) { FActivate = v; }
  void StoreFreezeActivate(bool v) { FFreezeActivate = v; }

private:
  bool FNotifyChanges;
  int32_t FUpdateCount = 0;
  std::string FSMTPFrom;
  std::string FSMTPHost;
  std::string FSMTPUserID;
  std::string FSMTPPassword;
  uint16_t FSMTPPort = 25;
  uint8_t FTerminateBtnOperation = 1;
  bool FFreezeActivate = false;
  int32_t FFreezeTimeout = 60;
  std::string FFreezeMessage;
  bool FStyledDialogs = true;
  std::string FModuleName;
  TCrashLogItems FLogItems = 0xFFFFFFFFu;
  TCrashStringList FExceptionFilterClasses;
  TCrashStringList FExceptionFilterMessages;
  std::array<std::string, CrashCustomTextCount> FCustomTexts;
  bool FReservedFlag = true;
  bool FUseExceptionFilter = true;
  bool FShowDialog = true;
  bool FLogInMessageBody = false;
  bool FAttachScreenshot = false;
  bool FShowSendProgress = true;
  bool FShowTerminateBtn = true;
  bool FSaveLogFile = true;
  bool FSendEntireLog = false;
  TCrashReportOptions FReportOptions = 0;
  uint8_t FFirstTab = 0;
  int32_t FErrorsNumberToSave = 32;
  int32_t FErrorsNumberToShowTerminateBtn = 3;
  std::string FOutputPath;
  std::string FEmailAddresses;
  std::string FEmailSubject;
  std::string FEmailMessage;
  TCrashEmailSendMode FEmailSendMode = esmNoSend;
  bool FActivate = true;
};

// Whether the file name is the module that holds the reporter (the running
// module), compared as the loader reports it.
bool IsRunningModuleName(const std::string& fileName);

} // namespace rasp
