#include "platform/ini/IniFile.h"

#include <exception>
#include <fstream>
#include <iterator>

namespace rasp {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// The section name of a "[name]" line, or nothing when the line is not a header.
bool SectionHeader(std::string_view line, std::string_view& name)
{
    if (line.empty() || line.front() != '[')
        return false;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    name = Trim(line.substr(1, close - 1));
    return true;
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key)
{
    if (text.starts_with(kBom))
        text.remove_prefix(kBom.size());
    section = Trim(section);
    key = Trim(key);

    bool inSection = false;
    while (!text.empty()) {
        const auto eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);

        line = Trim(line);
        if (line.empty() || line.front() == ';')
            continue;
        std::string_view name;
        if (SectionHeader(line, name)) {
            // Only the first section of that name is searched, as the
            // platform's reader does.
            if (inSection)
                return {};
            inSection = SameName(name, section);
            continue;
        }
        if (!inSection)
            continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        if (SameName(Trim(line.substr(0, eq)), key))
            return std::string(Unquote(Trim(line.substr(eq + 1))));
    }
    return {};
}

std::string ReadIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key)
{
    // Only regular files: a folder throws while being read and a named pipe
    // could block the window for good.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return {};
    try {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return {};
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad())
            return {};
        return ReadIniValue(text, section, key);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace rasp
