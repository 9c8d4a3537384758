#pragma once
// The "[Group]" and "Key=Value" files of the freedesktop standards
// (mimeapps.list, mimeinfo.cache, desktop entries). Unlike the INI reader,
// names are case-sensitive, quotes are kept and values keep their escapes:
// an Exec line has quoting rules of its own.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rasp {

// The raw value of key in group, or nothing when the file, group or key is
// missing. The first group of that name and the first key in it win.
std::optional<std::string> ReadKeyFileValue(const std::filesystem::path& file,
                                            std::string_view group, std::string_view key);

// The whole file, or nothing when it is missing, unreadable or far too large
// for a file of this kind.
std::optional<std::string> ReadKeyFileText(const std::filesystem::path& file);

// The same for text already in memory.
std::optional<std::string> KeyFileValue(std::string_view text, std::string_view group,
                                        std::string_view key);

// Resolves the escapes of a string value: \s \n \t \r \\.
std::string UnescapeKeyFileString(std::string_view value);

} // namespace rasp
