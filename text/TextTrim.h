#pragma once
// Trimming as the program's string routines do it, so that what the user
// typed and what the panes count agree: blanks and control characters are
// every code unit up to and including the space.

#include <string_view>

namespace rasp {

constexpr std::u16string_view TrimBlanks(std::u16string_view s) noexcept {
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && s[first] <= u' ') ++first;
    while (last > first && s[last - 1] <= u' ') --last;
    return s.substr(first, last - first);
}

}  // namespace rasp
