#pragma once
// Coloured output of "rasp compare": both articles with every matched run on
// its highlight colour as background, bold, the way the window shows them.

#include <ostream>
#include <string>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/SpanLists.h"

namespace rasp {

enum class TColorMode { Auto, Always, Never };

// "auto", "always" or "never" (also "yes"/"force", "no"/"none", as GNU
// tools accept); throws std::invalid_argument for anything else.
TColorMode ParseColorMode(const std::string& text);

// What "auto" looks at, taken from the process by FromProcess.
struct TTerminal {
    bool StdoutIsTerminal = false;
    bool NoColor = false;     // NO_COLOR set and not empty
    bool DumbTerm = false;    // TERM unset or "dumb"
    bool TrueColor = false;   // COLORTERM says 24-bit colour works
    static TTerminal FromProcess();
};

// --color=always and --color=never decide alone (an option given for this
// run outranks NO_COLOR); auto colours a terminal unless NO_COLOR is set or
// TERM is dumb.
bool UseColor(TColorMode mode, const TTerminal& terminal);

// The SGR sequence that starts a run of the colour (0x00BBGGRR): bold black
// text on the colour, as 24-bit colour or the nearest of the 256 colours.
std::string ColorStart(std::uint32_t color, bool trueColor);
inline constexpr std::string_view kColorEnd = "\x1b[0m";

// The article text (CR LF shown as line ends) with the runs of its word list
// coloured: a highlighted word, and the separators between two words of the
// same colour, and what follows a highlighted last word. The colour is
// closed before every line end so no background runs on to the margin.
void WriteHighlightedArticle(std::ostream& out, std::u16string_view text, const TListWords& words,
                             bool trueColor);

// Both articles under a bold heading naming each file, each ending with a
// line end; the caller prints the percentage below them.
void WriteColoredComparison(std::ostream& out, const std::vector<std::string>& paths,
                            std::u16string_view text1, const TListWords& words1,
                            std::u16string_view text2, const TListWords& words2, bool trueColor);

}  // namespace rasp
