#include "crash/modules/CrashNames.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace rasp {

std::string CrashDemangle(const std::string& name) {
  if (name.size() < 2 || name[0] != '_' || name[1] != 'Z') return name;
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> out(abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status),
                                             std::free);
  return status == 0 && out ? std::string(out.get()) : name;
}

namespace {
// Removes "[clone .cold]" and similar trailing notes of the demangler.
std::string_view DropClones(std::string_view s) {
  while (!s.empty() && s.back() == ']') {
    size_t open = s.rfind(" [clone ");
    if (open == std::string_view::npos) break;
    s = s.substr(0, open);
  }
  return s;
}

// The position of the parameter list's "(" at the end of a name (matching the
// final ")"), or npos.
size_t ParameterListStart(std::string_view s) {
  // Trailing qualifiers of member functions.
  if (s.empty() || s.back() != ')') return std::string_view::npos;
  int depth = 0;
  for (size_t i = s.size(); i-- > 0;) {
    char c = s[i];
    if (c == ')') ++depth;
    else if (c == '(') {
      if (--depth == 0) return i;
    }
  }
  return std::string_view::npos;
}

std::string_view StripQualifiers(std::string_view s) {
  for (std::string_view q : {" const", " volatile", " &&", " &", " noexcept"}) {
    if (s.size() > q.size() && s.substr(s.size() - q.size()) == q) return StripQualifiers(s.substr(0, s.size() - q.size()));
  }
  return s;
}

// Splits at top-level "::" (outside <>, () and {}).
std::vector<std::string_view> Components(std::string_view s) {
  std::vector<std::string_view> parts;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '<' || c == '(' || c == '{' || c == '[') {
      // "operator<" and "operator<<" are names, not brackets.
      if (c == '<' && i >= 8 && s.substr(i - 8, 8) == "operator") continue;
      if (c == '<' && i >= 9 && s.substr(i - 9, 9) == "operator<") continue;
      ++depth;
    } else if (c == '>' || c == ')' || c == '}' || c == ']') {
      if (c == '>' && i >= 8 && (s.substr(i - 8, 8) == "operator" || s.substr(i - 1, 1) == "-")) continue;
      if (c == '>' && i >= 9 && s.substr(i - 9, 9) == "operator>") continue;
      if (depth > 0) --depth;
    } else if (c == ':' && depth == 0 && i + 1 < s.size() && s[i + 1] == ':') {
      parts.push_back(s.substr(start, i - start));
      start = i + 2;
      ++i;
    }
  }
  parts.push_back(s.substr(start));
  return parts;
}

// Drops a return type in front of the first component ("void f<int>").
std::string_view DropReturnType(std::string_view first) {
  int depth = 0;
  size_t cut = std::string_view::npos;
  for (size_t i = 0; i < first.size(); ++i) {
    char c = first[i];
    if (c == '<' || c == '(') ++depth;
    else if ((c == '>' || c == ')') && depth > 0) --depth;
    else if (c == ' ' && depth == 0) {
      if (first.substr(0, i).ends_with("operator")) continue;
      cut = i;
      // "(anonymous namespace)" has its blank inside brackets.
    }
  }
  if (cut == std::string_view::npos) return first;
  std::string_view rest = first.substr(cut + 1);
  if (rest.starts_with("*") || rest.starts_with("&")) return first;
  return rest;
}
} // namespace

TCrashNameParts SplitCppName(std::string_view s) {
  TCrashNameParts parts;
  s = DropClones(s);
  s = StripQualifiers(s);
  if (size_t p = ParameterListStart(s); p != std::string_view::npos && p > 0) s = s.substr(0, p);
  std::vector<std::string_view> comps = Components(s);
  if (comps.empty() || comps.back().empty()) return parts;
  comps.front() = DropReturnType(comps.front());
  parts.Routine = std::string(comps.back());
  for (size_t i = 0; i + 1 < comps.size(); ++i) {
    if (i) parts.OwnerClass += "::";
    parts.OwnerClass += comps[i];
  }
  parts.Detail = parts.OwnerClass.empty() ? 2 : 3;
  return parts;
}

std::string CrashQualifiedName(std::string_view demangled) {
  TCrashNameParts p = SplitCppName(demangled);
  return p.OwnerClass.empty() ? p.Routine : p.OwnerClass + "::" + p.Routine;
}

namespace {
// GCC writes parts of a function under its name plus a suffix such as
// "foo.cold" or "foo.part.0".
bool IsCloneSuffix(std::string_view s) {
  for (std::string_view c : {"cold", "part", "constprop", "isra", "lto_priv", "localalias", "clone", "hot"})
    if (s.starts_with(c)) return true;
  return false;
}

TCrashNameParts SplitDotted(std::string name) {
  TCrashNameParts parts;
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    size_t dot = name.find('.', start);
    pieces.push_back(name.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  if (pieces.size() == 2 || pieces.size() == 3) {
    parts.Detail = 3;
    parts.UnitFile = pieces[0] + ".pas";
    parts.OwnerClass = pieces.size() == 3 ? pieces[1] : std::string();
    parts.Routine = pieces.back();
  }
  return parts;
}
} // namespace

TCrashNameParts SplitExportedName(const std::string& raw) {
  TCrashNameParts parts;
  if (raw.empty()) return parts;
  if (raw.starts_with("_Z")) {
    std::string demangled = CrashDemangle(raw);
    // A compiler clone ("_ZN...Ev.cold") the demangler does not take.
    if (demangled == raw && raw.find('.') != std::string::npos) demangled = CrashDemangle(raw.substr(0, raw.find('.')));
    if (demangled != raw && !demangled.starts_with("_Z")) return SplitCppName(demangled);
  }
  std::string name = raw;
  // A symbol version ("memcpy@GLIBC_2.14") is no part of the name.
  if (name[0] != '@')
    if (size_t at = name.find('@'); at != std::string::npos && at > 0) name.erase(at);
  if (name[0] == '@' && (name.size() < 2 || name[1] != '$')) {
    // "@Unit@Class@Routine$qqr...": separators are "@", "@@" marks a nested
    // name whose second "@" belongs to it.
    size_t dollar = name.find('$');
    if (dollar == std::string::npos) return parts;
    name.erase(dollar);
    if (!name.empty() && name.back() == '@') name.pop_back();
    name.erase(0, 1);
    if (size_t dd = name.find("@@"); dd != std::string::npos) name[dd + 1] = '_';
    for (size_t i = 0; i < name.size(); ++i)
      if (name[i] == '@') {
        name[i] = '.';
        ++i;
      }
    parts = SplitDotted(name);
  } else if (name[0] != '@' && name.find('.') != std::string::npos) {
    size_t dot = name.find('.');
    if (IsCloneSuffix(std::string_view(name).substr(dot + 1))) {
      parts.Detail = 2;
      parts.Routine = name.substr(0, dot);
    } else {
      parts = SplitDotted(name);
    }
  } else if (name[0] != '@' && name[0] != '?') {
    parts.Detail = 2;
    parts.Routine = name;
  }
  if (!parts.Routine.empty() && parts.Routine[0] == '@') parts.Routine[0] = '_';
  return parts;
}

} // namespace rasp
