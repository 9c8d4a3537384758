#include "platform/browser/DesktopExec.h"

#include <algorithm>

namespace rasp {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// One argument as written: its text, and which of its characters were
// unquoted percent signs (only those start field codes).
struct TRawArgument {
    std::string text;
    std::vector<bool> fieldCode;
    bool quoted = false;
};

std::optional<std::vector<TRawArgument>> Split(std::string_view line) {
    std::vector<TRawArgument> arguments;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i == line.size()) return arguments;
        TRawArgument argument;
        auto add = [&argument](char c, bool code) {
            argument.text += c;
            argument.fieldCode.push_back(code);
        };
        bool inQuotes = false;
        for (; i < line.size() && (inQuotes || !IsBlank(line[i])); ++i) {
            const char c = line[i];
            if (c == '"') {
                inQuotes = !inQuotes;
                argument.quoted = true;
            } else if (c == '\\' && i + 1 < line.size()
                       && (!inQuotes || std::string_view("\"`$\\").find(line[i + 1]) != std::string_view::npos)) {
                // Inside quotes only the four reserved characters are escaped;
                // outside them a backslash keeps any character literal.
                add(line[++i], false);
            } else {
                add(c, c == '%' && !inQuotes);
            }
        }
        if (inQuotes) return std::nullopt;
        arguments.push_back(std::move(argument));
    }
}

class TExpander {
public:
    TExpander(const TDesktopEntry& entry, std::string_view url) : FEntry(entry), FUrl(url) {}

    void Expand(const TRawArgument& raw) {
        const std::string& t = raw.text;
        if (!raw.quoted && t == "%i") {
            if (!FEntry.icon.empty()) {
                FArgs.emplace_back("--icon");
                FArgs.push_back(FEntry.icon);
            }
            return;
        }
        std::string out;
        bool onlyCodes = !raw.quoted;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (!raw.fieldCode[i] || i + 1 == t.size()) {
                out += t[i];
                onlyCodes = false;
                continue;
            }
            const char code = t[++i];
            switch (code) {
                case 'u': case 'U': case 'f': case 'F':
                    if (!FUrlGiven) out += FUrl;
                    FUrlGiven = true;
                    break;
                case 'c': out += FEntry.name; break;
                case 'k': out += FEntry.file; break;
                case '%': out += '%'; onlyCodes = false; break;
                default: break;  // deprecated, %i inside a word, or unknown
            }
        }
        if (onlyCodes && out.empty()) return;
        FArgs.push_back(std::move(out));
    }

    std::vector<std::string> Finish() {
        if (!FUrlGiven) FArgs.emplace_back(FUrl);
        return std::move(FArgs);
    }

private:
    const TDesktopEntry& FEntry;
    std::string_view FUrl;
    bool FUrlGiven = false;
    std::vector<std::string> FArgs;
};

}  // namespace

std::optional<std::vector<std::string>> ExpandDesktopExec(const TDesktopEntry& entry, std::string_view url) {
    const auto raw = Split(entry.exec);
    if (!raw || raw->empty()) return std::nullopt;
    // The program itself must come from the line as written, never from a
    // field code (and so never from the address).
    const TRawArgument& program = raw->front();
    if (program.text.empty() || std::find(program.fieldCode.begin(), program.fieldCode.end(), true) != program.fieldCode.end())
        return std::nullopt;
    TExpander expander(entry, url);
    for (const TRawArgument& argument : *raw) expander.Expand(argument);
    return expander.Finish();
}

}  // namespace rasp
