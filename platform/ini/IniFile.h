#pragma once
// Our stand-in for the private-profile INI functions: the deployment settings
// and the update description are read through it.
//
// Section and key names match case-insensitively (ASCII); a missing file,
// section or key reads as "". A value is the rest of its line after the first
// "=", with surrounding blanks removed and one pair of enclosing double quotes
// dropped; there is no escape processing. CR LF, LF and a leading UTF-8 byte
// order mark all read correctly. Lines starting with ";" are comments. When a
// section or key occurs twice, the first occurrence wins.
//
// Text is handled as bytes: values come back in whatever encoding the file has.

#include <filesystem>
#include <string>
#include <string_view>

namespace rasp {

// Reads one value from INI text already in memory.
std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key);

// Reads one value from an INI file; an unreadable or missing file reads as "".
std::string ReadIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key);

} // namespace rasp
