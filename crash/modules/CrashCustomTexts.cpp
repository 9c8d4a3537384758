#include "crash/modules/CrashOptions.h"

namespace rasp {

namespace {
const char* const DefaultTexts[CrashCustomTextCount] = {
  "Information.",
  "Question.",
  "Error.",
  "An error has occurred during program execution.\r\nPlease read the following information for further details.",
  "General", "General Information",
  "Call Stack", "Call Stack Information",
  "Modules", "Modules Information",
  "CPU", "CPU Information",
  "&OK",
  "&Terminate",
  "&Restart",
  "&Details",
  "&Send this error via Email",
  "&Attach a Screenshot image",
  "&Copy to Clipboard",
  "Application",
  "Start Date", "Name/Description", "Version Number", "Parameters",
  "Exception",
  "Date", "Address", "Module", "Type", "Message",
  "Active Controls",
  "Form Class", "Form Text", "Control Class", "Control Text",
  "Computer",
  "Name", "User", "Total Memory", "Free Memory", "Total Disk", "Free Disk",
  "Operating System",
  "Type", "Build #", "Update", "Language",
  "Address", "Module", "Unit", "Class", "Procedure/Method", "Line",
  "SMTP.",
  "Message",
  "Resolving MX record...", "Connecting with SMTP server...", "Connected with SMTP server.", "Sending message...",
  "Request",
  "Please describe the steps to reproduce the error:",
  "&OK",
  "Handle", "Name", "Description", "Version", "Size", "Path",
  "Registers",
  "Stack",
  "Memory Dump",
};
} // namespace

const char* CrashDefaultCustomText(int index) {
  return index >= 0 && index < CrashCustomTextCount ? DefaultTexts[index] : "";
}

} // namespace rasp
