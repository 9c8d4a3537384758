#pragma once
// The options object the reporter creates for every module: it publishes the
// running module's changes to the other modules of the process and switches
// the freeze watchdog.
#include "crash/modules/CrashOptions.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace rasp {

// Starts (true) or stops (false) the freeze watchdog; installed by the
// exception capture when it starts. Without one nothing is switched.
using TCrashFreezeWatchdogSwitch = void (*)(bool run);
void SetCrashFreezeWatchdogSwitch(TCrashFreezeWatchdogSwitch fn);

class TCrashModuleOptionsEx : public TCrashModuleOptions {
public:
  using TCrashModuleOptions::TCrashModuleOptions;

  void Changed() override;
  void SetActivate(bool value) override;
  void SetFreezeActivate(bool value) override;

private:
  bool IsRunningModuleOptions() const;
  void SwitchWatchdog();
};

// The shared section through which a module publishes its options: named by
// the process id (8 upper-case hex digits), the module handle (16) and
// "MODULE"; its first 4 bytes hold the size of what follows.
std::string CrashOptionsSectionName(uint32_t processId, uintptr_t moduleHandle);
// Replaces the section of a module of this process with `content`.
bool PublishCrashOptionsSection(uintptr_t moduleHandle, const std::vector<uint8_t>& content);
// The content of a module's section, or nothing when it does not exist or
// does not hold together.
std::optional<std::vector<uint8_t>> ReadCrashOptionsSection(uintptr_t moduleHandle);
void DeleteCrashOptionsSection(uintptr_t moduleHandle);
// Removes the sections of processes that no longer exist.
void SweepStaleCrashOptionsSections();

} // namespace rasp
