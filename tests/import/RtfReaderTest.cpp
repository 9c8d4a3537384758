// The rich text reader on hand-written documents, one group of constructs each.

#include "platform/rtf/RtfReader.h"

#include <gtest/gtest.h>

#include <string>

using rasp::RtfToText;

namespace {

std::u16string Text(const std::string& rtf) {
    auto text = RtfToText(rtf);
    EXPECT_TRUE(text.has_value()) << rtf;
    return text.value_or(u"<not rich text>");
}

TEST(RtfReader, RecognisesOnlyDocumentsStartingWithRtfGroup) {
    EXPECT_FALSE(RtfToText("hello").has_value());
    EXPECT_FALSE(RtfToText(" {\\rtf1 x}").has_value());
    EXPECT_FALSE(RtfToText("{\\rt").has_value());
    EXPECT_FALSE(RtfToText("\xEF\xBB\xBF{\\rtf1 x}").has_value());
    EXPECT_EQ(Text("{\\rtf}"), u"");
    EXPECT_EQ(Text("{\\rtf1 x}"), u"x");
}

TEST(RtfReader, ParagraphsLinesTabsAndTables) {
    EXPECT_EQ(Text("{\\rtf1\\ansi Hello\\par World\\line end}"), u"Hello\r\nWorld\r\nend");
    EXPECT_EQ(Text("{\\rtf1 a\\tab b\tc}"), u"a\tb\tc");
    EXPECT_EQ(Text("{\\rtf1 one\\sect two\\page three}"), u"one\r\ntwo\r\nthree");
    EXPECT_EQ(Text("{\\rtf1 \\trowd a\\cell b\\cell \\row after}"), u"a\tb\t\r\nafter");
    // Line breaks of the file itself are not text; a backslash before one is a paragraph.
    EXPECT_EQ(Text("{\\rtf1 ab\r\ncd\nef\\\ngh\\\r\nij}"), u"abcdef\r\ngh\r\nij");
    // A literal CR or LF written through \uN still becomes a CR LF pair.
    EXPECT_EQ(Text("{\\rtf1\\uc0 a\\u10 b\\u13 c}"), u"a\r\nb\r\nc");
}

TEST(RtfReader, ControlWordDelimitersAndParameters) {
    // One space after a control word belongs to it; the next ones are text.
    EXPECT_EQ(Text("{\\rtf1 \\b bold\\b0  and\\i0\\fs24 x}"), u"bold andx");
    EXPECT_EQ(Text("{\\rtf1 \\li-720 x}"), u"x");
    EXPECT_EQ(Text("{\\rtf1 \\fs99999999999999999999 z}"), u"z");
}

TEST(RtfReader, EscapedBracesBackslashesAndSymbols) {
    EXPECT_EQ(Text("{\\rtf1 a\\\\b\\{c\\}d}"), u"a\\b{c}d");
    EXPECT_EQ(Text("{\\rtf1 non\\~break soft\\-hyphen hard\\_hyphen}"),
              u"non\u00A0break softhyphen hard\u2011hyphen");
    EXPECT_EQ(Text("{\\rtf1 \\lquote a\\rquote  \\ldblquote b\\rdblquote  c\\emdash d\\endash e\\bullet}"),
              u"\u2018a\u2019 \u201Cb\u201D c\u2014d\u2013e\u2022");
}

TEST(RtfReader, HexBytesFollowTheDocumentCodePage) {
    EXPECT_EQ(Text("{\\rtf1 caf\\'e9 \\'92\\'80}"), u"caf\u00E9 \u2019\u20AC");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1252 \\'93x\\'94}"), u"\u201Cx\u201D");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}"), u"\u041F\u0440\u0438");
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}"), u"\u3042");
    EXPECT_EQ(Text("{\\rtf1\\mac \\'8e}"), u"\u00E9");
    // Raw 8-bit bytes in the body are read the same way.
    EXPECT_EQ(Text("{\\rtf1 caf\xe9}"), u"caf\u00E9");
    // A \' without hex digits is dropped, one digit is taken as it stands.
    EXPECT_EQ(Text("{\\rtf1 a\\'zz\\'4}"), u"azz\u0004");
}

TEST(RtfReader, FontCharsetsChooseTheCodePage) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
        "{\\f1\\fnil\\fcharset204 Times;}{\\f2\\cpg1253 Greek;}}"
        "\\'c0\\f1\\'c0\\f2\\'c1{\\f1 \\'c1}\\'c1\\plain\\'c0}";
    EXPECT_EQ(Text(rtf), u"\u00C0\u0410\u0391\u0411\u0391\u00C0");
    // The default font's charset applies before any \f.
    EXPECT_EQ(Text("{\\rtf1\\deff1{\\fonttbl{\\f1\\fcharset238 X;}}\\'b9}"), u"\u0105");
}

TEST(RtfReader, UnicodeWithFallbackSkipping) {
    EXPECT_EQ(Text("{\\rtf1 \\u8364?}"), u"\u20AC");
    EXPECT_EQ(Text("{\\rtf1 \\u8217\\'92s}"), u"\u2019s");
    EXPECT_EQ(Text("{\\rtf1 \\uc2\\u8364 abc}"), u"\u20ACc");
    EXPECT_EQ(Text("{\\rtf1 \\uc0\\u8364 x}"), u"\u20ACx");
    EXPECT_EQ(Text("{\\rtf1 \\u-3913?}"), u"\uF0B7");
    EXPECT_EQ(Text("{\\rtf1 \\u-10179?\\u-8704?}"), u"\U0001F600");
    // A control word counts as one fallback character; a group ends the skipping.
    EXPECT_EQ(Text("{\\rtf1 \\uc2\\u8364\\'80\\tab x}"), u"\u20ACx");
    EXPECT_EQ(Text("{\\rtf1 {\\uc3\\u8364}abc}"), u"\u20ACabc");
    // \uc belongs to its group.
    EXPECT_EQ(Text("{\\rtf1 {\\uc0 x}\\u8364?}"), u"x\u20AC");
}

TEST(RtfReader, IgnorableDestinationsAreLeftOut) {
    const std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman{\\*\\panose 0202}Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}"
        "{\\stylesheet{\\s0 Normal;}}"
        "{\\info{\\title Secret title}{\\author Someone}}"
        "{\\*\\generator Writer 1.0;}"
        "{\\header Page header\\par}{\\footer Page footer\\par}{\\headerl L}{\\footerr R}"
        "Body{\\pict\\pngblip 89504e47}{\\object\\objemb{\\*\\objdata 0102}}"
        "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}"
        "{\\*\\unknowndest invisible}{\\footnote note}"
        "{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody{\\pntxta .}}item\\par}";
    EXPECT_EQ(Text(rtf), u"Bodylinkitem\r\n");
}

TEST(RtfReader, StarredHyperlinkResultsKeepTheirVisibleText) {
    // As AbiWord and others write a hyperlink: the visible text in a starred result.
    EXPECT_EQ(Text("{\\rtf1\\ansi Read the {\\field{\\*\\fldinst {HYPERLINK \"http://x/manual\"}}"
                   "{\\*\\fldrslt {\\cf1\\ul manual}}} first.}"),
              u"Read the manual first.");
    // Unknown starred destinations are still left out, also right after a result.
    EXPECT_EQ(Text("{\\rtf1 a{\\*\\fldrslt b}{\\*\\unknown c}{\\*\\fldrsltx d}e}"), u"abe");
    // Inside a left-out destination a starred result stays left out.
    EXPECT_EQ(Text("{\\rtf1 a{\\*\\unknown x{\\*\\fldrslt y}z}b}"), u"ab");
    // The star only reaches the control word right after it.
    EXPECT_EQ(Text("{\\rtf1 a{\\*\\unknown\\fldrslt y}b}"), u"ab");
}

TEST(RtfReader, BinaryDataIsSkippedEvenWhenItHoldsBraces) {
    EXPECT_EQ(Text("{\\rtf1 x{\\*\\blob\\bin5 }}}{{} y}"), u"x y");
    EXPECT_EQ(Text("{\\rtf1 x\\bin999 abc"), u"x");
}

TEST(RtfReader, DamagedDocumentsGiveTheTextReadSoFar) {
    EXPECT_EQ(Text("{\\rtf1 abc\\par de"), u"abc\r\nde");
    EXPECT_EQ(Text("{\\rtf1 a}b{c}"), u"a");
    EXPECT_EQ(Text("{\\rtf1 a\\"), u"a");
    EXPECT_EQ(Text("{\\rtf1 a\\u"), u"a");
    std::string deep = "{\\rtf1 ";
    deep += std::string(100000, '{') + "deep" + std::string(100000, '}') + "}";
    EXPECT_EQ(Text(deep), u"deep");
}

TEST(RtfReader, TypicalWordProcessorDocument) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
        "{\\f1\\fnil\\fcharset204 Arial;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 First paragraph with \\b bold\\b0  and "
        "\\cf1 red\\cf0  text.\\par\r\n"
        "Caf\\'e9 \\u8220?quoted\\u8221?\\par\r\n"
        "\\f1\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\f0\\par\r\n"
        "}\r\n";
    EXPECT_EQ(Text(rtf),
              u"First paragraph with bold and red text.\r\nCaf\u00E9 \u201Cquoted\u201D\r\n"
              u"\u041F\u0440\u0438\u0432\u0435\u0442\r\n");
}

}  // namespace
