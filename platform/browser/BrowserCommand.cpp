#include "platform/browser/BrowserCommand.h"

#include <algorithm>

namespace rasp {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string WindowsRule(std::string lower, std::size_t exe)
{
    lower.resize(exe + 4);
    std::erase(lower, '"');
    return lower;
}

std::string FirstWord(std::string_view command)
{
    std::string word;
    std::size_t i = 0;
    while (i < command.size() && IsBlank(command[i]))
        ++i;
    bool quoted = false;
    for (; i < command.size(); ++i) {
        const char c = command[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < command.size()
                       && std::string_view("\"`$\\").find(command[i + 1]) != std::string_view::npos) {
                word += command[++i];
            } else {
                word += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (IsBlank(c)) {
            break;
        } else {
            word += c;
        }
    }
    return word;
}

} // namespace

std::string BrowserExecutable(std::string_view command)
{
    std::string lower(command);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    if (const auto exe = lower.find(".exe"); exe != std::string::npos)
        return WindowsRule(std::move(lower), exe);
    return FirstWord(command);
}

} // namespace rasp
