#include "platform/browser/KeyFile.h"

#include <exception>
#include <fstream>
#include <iterator>

namespace rasp {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Desktop files are small; anything far larger is not one.
constexpr std::uintmax_t kMaxFileSize = 4 * 1024 * 1024;

std::optional<std::string> ReadSmallFile(const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return std::nullopt;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxFileSize)
        return std::nullopt;
    try {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<std::string> ReadKeyFileText(const std::filesystem::path& file) { return ReadSmallFile(file); }

std::optional<std::string> ReadKeyFileValue(const std::filesystem::path& file,
                                            std::string_view group, std::string_view key)
{
    const auto content = ReadSmallFile(file);
    if (!content)
        return std::nullopt;
    return KeyFileValue(*content, group, key);
}

std::optional<std::string> KeyFileValue(std::string_view text, std::string_view group,
                                        std::string_view key)
{
    bool inGroup = false;
    bool seenGroup = false;
    while (!text.empty()) {
        const auto eol = text.find('\n');
        std::string_view line = Trim(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (inGroup)
                return std::nullopt;
            const auto close = line.find(']');
            inGroup = !seenGroup && close != std::string_view::npos && line.substr(1, close - 1) == group;
            seenGroup = seenGroup || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        const auto eq = line.find('=');
        if (eq != std::string_view::npos && Trim(line.substr(0, eq)) == key)
            return std::string(Trim(line.substr(eq + 1)));
    }
    return std::nullopt;
}

std::string UnescapeKeyFileString(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: // not a string escape: left for the Exec quoting to resolve
            out += '\\';
            out += value[i];
        }
    }
    return out;
}

} // namespace rasp
