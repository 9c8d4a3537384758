#pragma once
// The options file of the build tool: an INI file with one section
// [Options] whose keys are the option field names (CustomText12=...,
// ExceptionFilterClasses0=...). Booleans are 0/1, sets are member names
// separated by commas, strings may use \r \n \t \\ and double quotes.
#include "crash/modules/CrashOptions.h"

#include <string>

namespace rasp {

// Applies the file's keys to `options` (keys not given keep their values).
// On an unknown key or a bad value returns false with "line N: ..." in error.
bool ReadCrashOptionsIni(const std::string& text, TCrashModuleOptions& options, std::string& error);
// Every stored option in the same form.
std::string WriteCrashOptionsIni(const TCrashModuleOptions& options);

} // namespace rasp
