#pragma once
// What the rich text reader does with each control word it knows; every other
// control word only formats text and is passed over.

#include <string_view>

namespace rasp {

enum class TRtfAction {
    Ignore,       // formatting: no effect on the text
    Character,    // stands for one character (`character`)
    LineBreak,    // paragraph, line, section, page and row ends
    SkipGroup,    // a destination whose content is not article text
    FontTable,
    UnicodeChar,  // \uN
    UnicodeSkip,  // \ucN
    Font,         // \fN
    DefaultFont,  // \deffN
    Plain,        // \plain: character formatting back to the default font
    CodePage,     // \ansicpgN
    Charset,      // \ansi \mac \pc \pca: `character` holds the code page
    FontCharset,  // \fcharsetN inside the font table
    FontCodePage, // \cpgN inside the font table
    Binary,       // \binN: N bytes of raw data follow
};

struct TRtfControlWord {
    TRtfAction action;
    char16_t character;
};

TRtfControlWord LookupRtfControlWord(std::string_view name);

}  // namespace rasp
