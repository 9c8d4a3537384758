#include "crash/modules/CrashOptionsEx.h"

#include "crash/modules/CrashModuleFile.h"
#include "platform/base/UniqueFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <cstdio>
#include <cstring>
#include <memory>

namespace rasp {

namespace {
std::atomic<TCrashFreezeWatchdogSwitch> WatchdogSwitch{nullptr};
} // namespace

void SetCrashFreezeWatchdogSwitch(TCrashFreezeWatchdogSwitch fn) { WatchdogSwitch = fn; }

bool TCrashModuleOptionsEx::IsRunningModuleOptions() const { return IsRunningModuleName(ModuleName()); }

void TCrashModuleOptionsEx::SwitchWatchdog() {
  if (auto fn = WatchdogSwitch.load()) fn(Activate() && FreezeActivate());
}

void TCrashModuleOptionsEx::SetActivate(bool value) {
  if (!IsRunningModuleOptions()) return TCrashModuleOptions::SetActivate(value);
  if (value == Activate()) return;
  StoreActivate(value);
  SwitchWatchdog();
  AnnounceCheck();
}

void TCrashModuleOptionsEx::SetFreezeActivate(bool value) {
  if (!IsRunningModuleOptions()) return TCrashModuleOptions::SetFreezeActivate(value);
  if (value == FreezeActivate()) return;
  StoreFreezeActivate(value);
  SwitchWatchdog();
  AnnounceCheck();
}

void TCrashModuleOptionsEx::Changed() {
  TByteWriter w;
  w.u8(1);
  SaveToStream(w);
  PublishCrashOptionsSection(CrashRunningModule().Handle, w.data());
}

std::string CrashOptionsSectionName(uint32_t processId, uintptr_t moduleHandle) {
  char name[64];
  std::snprintf(name, sizeof name, "%08X%016llX%s", processId, static_cast<unsigned long long>(moduleHandle),
                "MODULE");
  return name;
}

namespace {
std::string ShmName(uintptr_t handle) { return "/" + CrashOptionsSectionName(uint32_t(getpid()), handle); }
} // namespace

void SweepStaleCrashOptionsSections() {
  std::unique_ptr<DIR, void (*)(DIR*)> dir(opendir("/dev/shm"), [](DIR* d) { closedir(d); });
  if (!dir) return;
  while (dirent* e = readdir(dir.get())) {
    std::string_view name = e->d_name;
    // <pid 8 hex><handle 16 hex>MODULE
    if (name.size() != 30 || !name.ends_with("MODULE")) continue;
    char* end = nullptr;
    std::string pidText(name.substr(0, 8));
    unsigned long pid = std::strtoul(pidText.c_str(), &end, 16);
    if (*end || pid == 0 || pid > 0x7FFFFFFF) continue;
    if (kill(pid_t(pid), 0) != 0 && errno == ESRCH) shm_unlink(("/" + std::string(name)).c_str());
  }
}

bool PublishCrashOptionsSection(uintptr_t handle, const std::vector<uint8_t>& content) {
  // A process that ended without shutting the reporter down leaves its
  // sections behind; the first publication of a process clears them.
  static std::once_flag swept;
  std::call_once(swept, SweepStaleCrashOptionsSections);
  std::string name = ShmName(handle);
  shm_unlink(name.c_str());
  TUniqueFd fd(shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!fd) return false;
  size_t total = content.size() + 4;
  if (ftruncate(fd.Get(), off_t(total)) != 0) return false;
  void* p = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_SHARED, fd.Get(), 0);
  if (p == MAP_FAILED) return false;
  uint32_t size = uint32_t(content.size());
  std::memcpy(p, &size, 4);
  if (!content.empty()) std::memcpy(static_cast<char*>(p) + 4, content.data(), content.size());
  munmap(p, total);
  return true;
}

std::optional<std::vector<uint8_t>> ReadCrashOptionsSection(uintptr_t handle) {
  TUniqueFd fd(shm_open(ShmName(handle).c_str(), O_RDONLY | O_CLOEXEC, 0));
  if (!fd) return std::nullopt;
  struct stat st{};
  if (fstat(fd.Get(), &st) != 0 || st.st_size < 4) return std::nullopt;
  size_t total = size_t(st.st_size);
  void* p = mmap(nullptr, total, PROT_READ, MAP_SHARED, fd.Get(), 0);
  if (p == MAP_FAILED) return std::nullopt;
  uint32_t size = 0;
  std::memcpy(&size, p, 4);
  std::optional<std::vector<uint8_t>> out;
  // The size must agree with the section; a larger one is never believed.
  if (size <= total - 4) {
    const uint8_t* b = static_cast<const uint8_t*>(p) + 4;
    out.emplace(b, b + size);
  }
  munmap(p, total);
  return out;
}

void DeleteCrashOptionsSection(uintptr_t handle) { shm_unlink(ShmName(handle).c_str()); }

} // namespace rasp
