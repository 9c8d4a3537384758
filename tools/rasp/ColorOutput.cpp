#include "tools/rasp/ColorOutput.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "text/ArticleDecode.h"

namespace rasp {
namespace {

constexpr std::uint32_t kPlain = 0xFFFFFF;

bool EnvironmentSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// 0..255 onto the six steps of the 256-colour cube (0, 95, 135, 175, 215, 255).
int CubeStep(int value)
{
    return value < 48 ? 0 : value < 115 ? 1 : (value - 35) / 40;
}

// Writes pieces of text in their colours, switching colour only where it
// changes, with CR LF and lone CRs as line ends and the colour closed around
// each.
class TRunWriter {
public:
    TRunWriter(std::ostream& out, bool trueColor) : FOut(out), FTrueColor(trueColor) {}
    ~TRunWriter() { Switch(kPlain); }

    void Write(std::u16string_view piece, std::uint32_t color)
    {
        std::size_t begin = 0;
        while (begin < piece.size()) {
            std::size_t end = piece.find_first_of(u"\r\n", begin);
            if (end == std::u16string_view::npos)
                end = piece.size();
            if (end > begin) {
                Switch(color);
                FOut << EncodeUtf8(piece.substr(begin, end - begin));
            }
            if (end == piece.size())
                break;
            std::size_t next = end + 1;
            if (piece[end] == u'\r' && next < piece.size() && piece[next] == u'\n')
                ++next;
            Switch(kPlain);
            FOut << '\n';
            begin = next;
        }
    }

private:
    void Switch(std::uint32_t color)
    {
        if (color == FCurrent)
            return;
        if (FCurrent != kPlain)
            FOut << kColorEnd;
        if (color != kPlain)
            FOut << ColorStart(color, FTrueColor);
        FCurrent = color;
    }

    std::ostream& FOut;
    bool FTrueColor;
    std::uint32_t FCurrent = kPlain;
};

}  // namespace

TColorMode ParseColorMode(const std::string& text)
{
    if (text == "auto" || text == "tty" || text == "if-tty")
        return TColorMode::Auto;
    if (text == "always" || text == "yes" || text == "force")
        return TColorMode::Always;
    if (text == "never" || text == "no" || text == "none")
        return TColorMode::Never;
    throw std::invalid_argument("--color must be auto, always or never, not '" + text + "'");
}

TTerminal TTerminal::FromProcess()
{
    TTerminal terminal;
    terminal.StdoutIsTerminal = ::isatty(STDOUT_FILENO) == 1;
    terminal.NoColor = EnvironmentSet("NO_COLOR");
    const char* term = std::getenv("TERM");
    terminal.DumbTerm = !term || !*term || std::string_view(term) == "dumb";
    const char* colorTerm = std::getenv("COLORTERM");
    terminal.TrueColor =
        colorTerm && (std::string_view(colorTerm) == "truecolor" || std::string_view(colorTerm) == "24bit");
    return terminal;
}

bool UseColor(TColorMode mode, const TTerminal& terminal)
{
    switch (mode) {
    case TColorMode::Always:
        return true;
    case TColorMode::Never:
        return false;
    case TColorMode::Auto:
        break;
    }
    return terminal.StdoutIsTerminal && !terminal.NoColor && !terminal.DumbTerm;
}

std::string ColorStart(std::uint32_t color, bool trueColor)
{
    const int red = static_cast<int>(color & 0xFF);
    const int green = static_cast<int>((color >> 8) & 0xFF);
    const int blue = static_cast<int>((color >> 16) & 0xFF);
    if (trueColor) {
        return "\x1b[1;30;48;2;" + std::to_string(red) + ';' + std::to_string(green) + ';' +
               std::to_string(blue) + 'm';
    }
    const int index = 16 + 36 * CubeStep(red) + 6 * CubeStep(green) + CubeStep(blue);
    return "\x1b[1;30;48;5;" + std::to_string(index) + 'm';
}

void WriteHighlightedArticle(std::ostream& out, std::u16string_view text, const TListWords& words,
                             bool trueColor)
{
    const auto length = static_cast<std::int64_t>(text.size());
    // Positions are 1-based with an exclusive end; anything outside the text
    // is clipped rather than trusted.
    auto piece = [&](std::int64_t from, std::int64_t to) {
        from = std::clamp<std::int64_t>(from, 1, length + 1);
        to = std::clamp<std::int64_t>(to, from, length + 1);
        return text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from));
    };
    TRunWriter writer(out, trueColor);

    std::int64_t previousEnd = 1;
    std::uint32_t previousColor = kPlain;
    for (int i = 0; i < words.Count(); ++i) {
        const TWord& word = words.At(i);
        if (word.StartPos < previousEnd)
            continue;
        const std::uint32_t gapColor = word.Color == previousColor ? word.Color : kPlain;
        writer.Write(piece(previousEnd, word.StartPos), gapColor);
        writer.Write(piece(word.StartPos, word.EndPos), word.Color);
        previousColor = word.Color;
        previousEnd = std::max<std::int64_t>(word.EndPos, word.StartPos);
    }
    writer.Write(piece(previousEnd, length + 1), previousColor);
}

void WriteColoredComparison(std::ostream& out, const std::vector<std::string>& paths,
                            std::u16string_view text1, const TListWords& words1,
                            std::u16string_view text2, const TListWords& words2, bool trueColor)
{
    auto article = [&](int number, std::u16string_view text, const TListWords& words) {
        const std::string path = static_cast<std::size_t>(number) <= paths.size() ? paths[number - 1] : "";
        out << "\x1b[1m--- Article " << number << ": " << path << kColorEnd << '\n';
        WriteHighlightedArticle(out, text, words, trueColor);
        if (!text.empty() && text.back() != u'\n' && text.back() != u'\r')
            out << '\n';
    };
    article(1, text1, words1);
    article(2, text2, words2);
}

}  // namespace rasp
