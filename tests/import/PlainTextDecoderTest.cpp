// The plain-text decoder: encodings, line breaks, and code pages checked
// against the C library's converters as a plain reference.

#include "platform/textdecode/CodePage.h"
#include "platform/textdecode/PlainTextDecoder.h"

#include <gtest/gtest.h>

#include <QString>

#include <iconv.h>
#include <random>
#include <string>

using namespace rasp;

namespace {

TEST(PlainTextDecoder, DetectsEncodings) {
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBFx"), TTextEncoding::Utf8Bom);
    EXPECT_EQ(DetectTextEncoding("\xFF\xFEx\0"), TTextEncoding::Utf16LE);
    EXPECT_EQ(DetectTextEncoding("\xFE\xFF\0x"), TTextEncoding::Utf16BE);
    EXPECT_EQ(DetectTextEncoding("plain"), TTextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding(""), TTextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding("caf\xC3\xA9"), TTextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding("caf\xE9"), TTextEncoding::Windows1252);
    // Overlong forms, encoded surrogates and code points past U+10FFFF are not UTF-8.
    EXPECT_EQ(DetectTextEncoding("\xC0\xAF"), TTextEncoding::Windows1252);
    EXPECT_EQ(DetectTextEncoding("\xED\xA0\x80"), TTextEncoding::Windows1252);
    EXPECT_EQ(DetectTextEncoding("\xF4\x90\x80\x80"), TTextEncoding::Windows1252);
    EXPECT_EQ(DetectTextEncoding("\xE2\x82"), TTextEncoding::Windows1252);
}

TEST(PlainTextDecoder, DecodesEachEncoding) {
    EXPECT_EQ(DecodePlainText("caf\xC3\xA9 \xF0\x9F\x98\x80").text, u"caf\u00E9 \U0001F600");
    EXPECT_EQ(DecodePlainText("\xEF\xBB\xBF" "abc").text, u"abc");
    EXPECT_EQ(DecodePlainText("\xEF\xBB\xBF" "a\xFF" "b").text, u"a\uFFFDb");
    EXPECT_EQ(DecodePlainText(std::string("\xFF\xFE" "a\0\xAC\x20", 6)).text, u"a\u20AC");
    EXPECT_EQ(DecodePlainText(std::string("\xFE\xFF\0a\x20\xAC", 6)).text, u"a\u20AC");
    EXPECT_EQ(DecodePlainText(std::string("\xFF\xFE" "a\0b", 5)).text, u"a\uFFFD");
    EXPECT_EQ(DecodePlainText("don\x92t \x96 \x80 \x81").text, u"don\u2019t \u2013 \u20AC \u0081");
}

TEST(PlainTextDecoder, NonBreakingSpacesSurviveDecoding) {
    // The change handling turns them into spaces later; the decoder keeps them.
    EXPECT_EQ(DecodePlainText("a\xA0" "b").text, u"a\u00A0b");
    EXPECT_EQ(DecodePlainText("a\xC2\xA0" "b").text, u"a\u00A0b");
}

TEST(PlainTextDecoder, LineBreaksBecomeCrLf) {
    EXPECT_EQ(DecodePlainText("a\nb\rc\r\nd\n\re\r\r\n").text, u"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n");
    EXPECT_EQ(DecodePlainText(std::string("\xFF\xFE" "a\0\n\0", 6)).text, u"a\r\n");
    std::u16string same = u"x\r\ny";
    NormaliseLineBreaks(same);
    EXPECT_EQ(same, u"x\r\ny");
}

std::u16string IconvReference(const char* codePage, const std::string& bytes) {
    iconv_t h = iconv_open("UTF-16LE", codePage);
    EXPECT_NE(h, reinterpret_cast<iconv_t>(-1));
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size(), outLeft = out.size();
    char* o = out.data();
    EXPECT_NE(iconv(h, &in, &inLeft, &o, &outLeft), static_cast<std::size_t>(-1));
    iconv_close(h);
    std::u16string r;
    for (std::size_t k = 0; k + 1 < out.size() - outLeft; k += 2)
        r.push_back(char16_t(static_cast<unsigned char>(out[k]) | (static_cast<unsigned char>(out[k + 1]) << 8)));
    return r;
}

TEST(CodePages, Windows1252MatchesTheReferenceOnEveryDefinedByte) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
        const std::string one(1, static_cast<char>(b));
        std::u16string ours;
        AppendWindows1252(one, ours);
        EXPECT_EQ(ours, IconvReference("CP1252", one)) << b;
    }
}

TEST(CodePages, DoubleByteAndFallbacks) {
    std::u16string out;
    TCodePageDecoder sjis(932);
    sjis.Append("\x82\xA0" "a\x82", out);  // the last lead byte has no trail byte
    EXPECT_EQ(out, u"\u3042a\uFFFD");
    TCodePageDecoder unknown(12345);
    EXPECT_EQ(unknown.CodePage(), 1252);
    out.clear();
    unknown.Append("\x80", out);
    EXPECT_EQ(out, u"\u20AC");
    EXPECT_EQ(CodePageFromCharset(0), 0);
    EXPECT_EQ(CodePageFromCharset(204), 1251);
}

TEST(CodePages, Utf8AgreesWithQtOnRandomValidText) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> pick(0, 4);
    for (int round = 0; round < 500; ++round) {
        std::u16string source;
        for (int i = 0; i < 40; ++i) {
            switch (pick(rng)) {
                case 0: source.push_back(char16_t(0x20 + rng() % 0x5F)); break;
                case 1: source.push_back(char16_t(0xA0 + rng() % 0x700)); break;
                case 2: source.push_back(char16_t(0x3000 + rng() % 0x5000)); break;
                case 3: source += u"\U0001F600"; break;
                default: source.push_back(u'\r'); break;
            }
        }
        const std::string utf8 = Utf16ToUtf8(source);
        EXPECT_EQ(QString::fromStdU16String(source).toStdString(), utf8);
        EXPECT_TRUE(IsValidUtf8(utf8));
        EXPECT_EQ(Utf8ToUtf16(utf8), source);
    }
}

}  // namespace
