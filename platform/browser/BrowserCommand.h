#pragma once
// Reduces the command a desktop registers for http URLs to the browser's
// executable, dropping the arguments it would normally be started with.

#include <string>
#include <string_view>

namespace rasp {

// A command containing ".exe" (in any letter case) follows the old Windows
// rule: lower-cased, cut right after the first ".exe", every double quote
// removed. Any other command gives its first word, where a double-quoted
// stretch (with the backslash escapes of a desktop entry's Exec line) counts
// as part of the word, and the quotes themselves are removed. An empty or
// blank command gives "".
std::string BrowserExecutable(std::string_view command);

} // namespace rasp
