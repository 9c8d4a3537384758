#pragma once
// Turning symbol names into unit, class and routine.
#include <string>
#include <string_view>

namespace rasp {

struct TCrashNameParts {
  int Detail = 0;          // 0 not split, 2 routine only, 3 unit/class/routine
  std::string UnitFile;
  std::string OwnerClass;
  std::string Routine;
};

// The readable form of an Itanium C++ name (abi::__cxa_demangle); other
// names come back unchanged.
std::string CrashDemangle(const std::string& name);

// Splits a demangled C++ name: the parameter list, template arguments of the
// last component's owner, return type and clone suffixes are dropped; the
// scope (namespaces and classes, joined with "::") is the class, the last
// component the routine. A name without a scope gives the routine alone.
TCrashNameParts SplitCppName(std::string_view demangled);

// Splits a symbol name the way a report shows it: C++ names through the
// demangler, names in the "@Unit@Class@Routine$..." and "Unit.Routine" forms
// by their separators, plain names as the routine alone.
TCrashNameParts SplitExportedName(const std::string& name);

// The qualified name the debug data's symbol section stores for a C++ name:
// scope and routine joined with "::", no parameters.
std::string CrashQualifiedName(std::string_view demangled);

} // namespace rasp
