#include "crash/log/CrashSystemInfo.h"

#include <pwd.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace rasp {

namespace {
std::atomic<int> ScreenWidth{0}, ScreenHeight{0};

std::string Trim(std::string s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  size_t e = s.find_last_not_of(" \t\r\n");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// The value after "key" and a separator in a "key<sep>value" file.
std::string FileValue(const char* path, const std::string& key, char sep) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    size_t at = line.find(sep);
    if (at == std::string::npos || Trim(line.substr(0, at)) != key) continue;
    std::string v = Trim(line.substr(at + 1));
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v;
  }
  return {};
}
} // namespace

void SetCrashScreenSize(int width, int height) {
  ScreenWidth = width;
  ScreenHeight = height;
}

std::string CrashMegabytes(double bytes) {
  return std::to_string(static_cast<long long>(std::nearbyint(bytes / 1048576.0))) + " Mb";
}

std::string CrashGigabytes(double bytes) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", bytes / 1073741824.0);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s + " Gb";
}

TCrashSystemInfo CrashReadSystemInfo(const std::string& folder) {
  TCrashSystemInfo info;
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) == 0) info.ComputerName = host;
  if (const passwd* pw = getpwuid(geteuid())) info.UserName = pw->pw_name;
  std::string total = FileValue("/proc/meminfo", "MemTotal", ':');
  std::string avail = FileValue("/proc/meminfo", "MemAvailable", ':');
  if (!total.empty()) info.TotalMemory = CrashMegabytes(std::atof(total.c_str()) * 1024.0);
  if (!avail.empty()) info.FreeMemory = CrashMegabytes(std::atof(avail.c_str()) * 1024.0);
  struct statvfs vfs{};
  if (statvfs(folder.empty() ? "/" : folder.c_str(), &vfs) == 0) {
    info.TotalDisk = CrashGigabytes(double(vfs.f_blocks) * double(vfs.f_frsize));
    info.FreeDisk = CrashGigabytes(double(vfs.f_bavail) * double(vfs.f_frsize));
  }
  info.Processor = FileValue("/proc/cpuinfo", "model name", ':');
  if (ScreenWidth > 0)
    info.Screen = std::to_string(ScreenWidth.load()) + "x" + std::to_string(ScreenHeight.load());
  info.OSType = FileValue("/etc/os-release", "PRETTY_NAME", '=');
  if (info.OSType.empty()) info.OSType = "Linux";
  struct utsname u{};
  if (uname(&u) == 0) {
    info.OSBuild = u.release;
    info.OSUpdate = Trim(u.version);
  }
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      info.OSLanguage = v;
      break;
    }
  }
  if (info.OSLanguage.empty()) info.OSLanguage = "C";
  return info;
}

} // namespace rasp
