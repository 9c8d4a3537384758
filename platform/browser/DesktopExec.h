#pragma once
// The command line of a desktop entry's Exec key, run as freedesktop.org's
// desktop-entry rules have it: split into arguments by its own quoting rules
// (never by a shell) with the field codes expanded for one URL.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

// What the field codes of an Exec line may refer to.
struct TDesktopEntry {
    std::string exec;  // the Exec value, string escapes already resolved
    std::string icon;  // the Icon value, for %i
    std::string name;  // the Name value, for %c
    std::string file;  // where the entry lies, for %k
};

// The program and its arguments for opening url: %u %U %f %F become the URL
// (the first of them; a line without any gets the URL as its last argument),
// %i becomes "--icon" and the icon when there is one, %c the name, %k the
// entry's file, %% a percent sign; other field codes are removed, and an
// argument made only of removed codes goes with them. Text inside double
// quotes is taken literally apart from its backslash escapes. Nothing when
// the line is malformed (an open quote) or names no program.
std::optional<std::vector<std::string>> ExpandDesktopExec(const TDesktopEntry& entry, std::string_view url);

}  // namespace rasp
