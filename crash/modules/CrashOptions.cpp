#include "crash/modules/CrashOptions.h"

#include "crash/modules/CrashModuleFile.h"

namespace rasp {

TCrashModuleOptions::TCrashModuleOptions(std::string moduleName, bool notifyChanges)
    : FNotifyChanges(notifyChanges),
      FModuleName(std::move(moduleName)),
      FExceptionFilterClasses([this] { AnnounceCheck(); }),
      FExceptionFilterMessages([this] { AnnounceCheck(); }) {
  SetDefaults();
  FUpdateCount = 0;
}

bool IsRunningModuleName(const std::string& fileName) {
  return !fileName.empty() && fileName == CrashRunningModule().FileName;
}

void TCrashModuleOptions::AnnounceCheck() {
  if (FUpdateCount <= 0 && FNotifyChanges && IsRunningModuleName(FModuleName)) Changed();
}

void TCrashModuleOptions::BeginUpdate() { ++FUpdateCount; }

void TCrashModuleOptions::EndUpdate() {
  --FUpdateCount;
  AnnounceCheck();
}

void TCrashModuleOptions::SetActivate(bool value) {
  FActivate = value;
  AnnounceCheck();
}

void TCrashModuleOptions::SetFreezeActivate(bool value) {
  FFreezeActivate = value;
  AnnounceCheck();
}

void TCrashModuleOptions::Assign(const TCrashModuleOptions* source) {
  if (!source) throw EConvertError("Impossible to assign nil as TCrashModuleOptions.");
  if (source == this) return;
  BeginUpdate();
  FSMTPFrom = source->FSMTPFrom;
  FSMTPHost = source->FSMTPHost;
  FSMTPUserID = source->FSMTPUserID;
  FSMTPPassword = source->FSMTPPassword;
  FSMTPPort = source->FSMTPPort;
  FTerminateBtnOperation = source->FTerminateBtnOperation;
  SetFreezeActivate(source->FFreezeActivate);
  FFreezeTimeout = source->FFreezeTimeout;
  FFreezeMessage = source->FFreezeMessage;
  FStyledDialogs = source->FStyledDialogs;
  FLogItems = source->FLogItems;
  FExceptionFilterClasses.Assign(source->FExceptionFilterClasses.Items());
  FExceptionFilterMessages.Assign(source->FExceptionFilterMessages.Items());
  FCustomTexts = source->FCustomTexts;
  FReservedFlag = source->FReservedFlag;
  FUseExceptionFilter = source->FUseExceptionFilter;
  FShowDialog = source->FShowDialog;
  FLogInMessageBody = source->FLogInMessageBody;
  FAttachScreenshot = source->FAttachScreenshot;
  FShowSendProgress = source->FShowSendProgress;
  FShowTerminateBtn = source->FShowTerminateBtn;
  FSaveLogFile = source->FSaveLogFile;
  FSendEntireLog = source->FSendEntireLog;
  FReportOptions = source->FReportOptions;
  FFirstTab = source->FFirstTab;
  FErrorsNumberToSave = source->FErrorsNumberToSave;
  FErrorsNumberToShowTerminateBtn = source->FErrorsNumberToShowTerminateBtn;
  FOutputPath = source->FOutputPath;
  FEmailAddresses = source->FEmailAddresses;
  FEmailSubject = source->FEmailSubject;
  FEmailMessage = source->FEmailMessage;
  FEmailSendMode = source->FEmailSendMode;
  EndUpdate();
}

void TCrashModuleOptions::SetDefaults() {
  BeginUpdate();
  FSMTPFrom = CrashDefaultSMTPFrom;
  FSMTPHost.clear();
  FSMTPUserID.clear();
  FSMTPPassword.clear();
  FSMTPPort = 25;
  FTerminateBtnOperation = 1;
  SetFreezeActivate(false);
  FFreezeTimeout = 60;
  FFreezeMessage = CrashDefaultFreezeMessage;
  FStyledDialogs = true;
  FLogItems = 0xFFFFFFFFu;
  FExceptionFilterClasses.Clear();
  FExceptionFilterMessages.Clear();
  for (int i = 0; i < CrashCustomTextCount; ++i) FCustomTexts[size_t(i)] = CrashDefaultCustomText(i);
  FReservedFlag = true;
  FUseExceptionFilter = true;
  FShowDialog = true;
  FLogInMessageBody = false;
  FAttachScreenshot = false;
  FShowSendProgress = true;
  FShowTerminateBtn = true;
  FSaveLogFile = true;
  FSendEntireLog = false;
  FReportOptions = 0;
  FFirstTab = 0;
  FErrorsNumberToSave = 32;
  FErrorsNumberToShowTerminateBtn = 3;
  FOutputPath.clear();
  FEmailAddresses.clear();
  FEmailSubject.clear();
  FEmailMessage.clear();
  FEmailSendMode = esmNoSend;
  EndUpdate();
}

std::string TCrashModuleOptions::CustomText(int index) const {
  return index >= 0 && index < CrashCustomTextCount ? FCustomTexts[size_t(index)] : std::string();
}

#define RASP_CRASH_SETTER(Name, Type)                   \
  void TCrashModuleOptions::Set##Name(Type v) {         \
    F##Name = v;                                         \
    AnnounceCheck();                                     \
  }
RASP_CRASH_SETTER(NotifyChanges, bool)
RASP_CRASH_SETTER(SMTPFrom, const std::string&)
RASP_CRASH_SETTER(SMTPHost, const std::string&)
RASP_CRASH_SETTER(SMTPUserID, const std::string&)
RASP_CRASH_SETTER(SMTPPassword, const std::string&)
RASP_CRASH_SETTER(SMTPPort, uint16_t)
RASP_CRASH_SETTER(TerminateBtnOperation, uint8_t)
RASP_CRASH_SETTER(FreezeTimeout, int32_t)
RASP_CRASH_SETTER(FreezeMessage, const std::string&)
RASP_CRASH_SETTER(StyledDialogs, bool)
RASP_CRASH_SETTER(ModuleName, const std::string&)
RASP_CRASH_SETTER(LogItems, TCrashLogItems)
RASP_CRASH_SETTER(ReservedFlag, bool)
RASP_CRASH_SETTER(UseExceptionFilter, bool)
RASP_CRASH_SETTER(ShowDialog, bool)
RASP_CRASH_SETTER(LogInMessageBody, bool)
RASP_CRASH_SETTER(AttachScreenshot, bool)
RASP_CRASH_SETTER(ShowSendProgress, bool)
RASP_CRASH_SETTER(ShowTerminateBtn, bool)
RASP_CRASH_SETTER(SaveLogFile, bool)
RASP_CRASH_SETTER(SendEntireLog, bool)
RASP_CRASH_SETTER(ReportOptions, TCrashReportOptions)
RASP_CRASH_SETTER(FirstTab, uint8_t)
RASP_CRASH_SETTER(ErrorsNumberToShowTerminateBtn, int32_t)
RASP_CRASH_SETTER(OutputPath, const std::string&)
RASP_CRASH_SETTER(EmailAddresses, const std::string&)
RASP_CRASH_SETTER(EmailSubject, const std::string&)
RASP_CRASH_SETTER(EmailMessage, const std::string&)
RASP_CRASH_SETTER(EmailSendMode, TCrashEmailSendMode)
#undef RASP_CRASH_SETTER

void TCrashModuleOptions::SetSMTPWithoutTLS(TCrashSMTPWithoutTLS v) {
  FReportOptions = TCrashReportOptions((FReportOptions & ~0x0Cu) | ((unsigned(v) & 3u) << 2));
  AnnounceCheck();
}

void TCrashModuleOptions::SetErrorsNumberToSave(int32_t v) {
  FErrorsNumberToSave = v < 1 ? 1 : v;
  AnnounceCheck();
}

void TCrashModuleOptions::SetCustomText(int index, const std::string& v) {
  if (index < 0 || index >= CrashCustomTextCount) return;
  FCustomTexts[size_t(index)] = v;
  AnnounceCheck();
}

} // namespace rasp
