#include "crash/CrashOptionsEx.h"

#include "crash/CrashModuleFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace rasp {

namespace {
std::atomic<TCrashFreezeWatchdogSwitch> WatchdogSwitch{nullptr};

struct TFd {
  int Fd = -1;
  ~TFd() { if (Fd >= 0) close(Fd); }
};
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

bool PublishCrashOptionsSection(uintptr_t handle, const std::vector<uint8_t>& content) {
  std::string name = ShmName(handle);
  shm_unlink(name.c_str());
  TFd fd{shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
  if (fd.Fd < 0) return false;
  size_t total = content.size() + 4;
  if (ftruncate(fd.Fd, off_t(total)) != 0) return false;
  void* p = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_SHARED, fd.Fd, 0);
  if (p == MAP_FAILED) return false;
  uint32_t size = uint32_t(content.size());
  std::memcpy(p, &size, 4);
  if (!content.empty()) std::memcpy(static_cast<char*>(p) + 4, content.data(), content.size());
  munmap(p, total);
  return true;
}

std::optional<std::vector<uint8_t>> ReadCrashOptionsSection(uintptr_t handle) {
  TFd fd{shm_open(ShmName(handle).c_str(), O_RDONLY | O_CLOEXEC, 0)};
  if (fd.Fd < 0) return std::nullopt;
  struct stat st{};
  if (fstat(fd.Fd, &st) != 0 || st.st_size < 4) return std::nullopt;
  size_t total = size_t(st.st_size);
  void* p = mmap(nullptr, total, PROT_READ, MAP_SHARED, fd.Fd, 0);
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
