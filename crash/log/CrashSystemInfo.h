#pragma once
// What the log says about the computer and the operating system, read from
// Linux: uname, /etc/os-release, /proc/meminfo, /proc/cpuinfo, statvfs.
#include <string>

namespace rasp {

struct TCrashSystemInfo {
  std::string ComputerName;
  std::string UserName;
  std::string TotalMemory;  // "15923 Mb"
  std::string FreeMemory;
  std::string TotalDisk;    // "58.71 Gb", empty when unknown
  std::string FreeDisk;
  std::string Processor;
  std::string Screen;       // "1920x1080", empty when unknown
  std::string OSType;       // PRETTY_NAME of os-release
  std::string OSBuild;      // kernel release
  std::string OSUpdate;     // kernel version string
  std::string OSLanguage;   // the locale messages are shown in
};

// `folder`: where the running module lies (the disk items).
TCrashSystemInfo CrashReadSystemInfo(const std::string& folder);
// "0.##" of bytes / 2^30, with " Gb".
std::string CrashGigabytes(double bytes);
// bytes / 2^20 rounded half to even, with " Mb".
std::string CrashMegabytes(double bytes);

// The screen size is known only to the window layer, which tells it here.
void SetCrashScreenSize(int width, int height);

} // namespace rasp
