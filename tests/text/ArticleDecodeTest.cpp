#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "text/ArticleDecode.h"
#include "text/ArticleNormalise.h"

namespace rasp {
namespace {

TEST(ArticleDecode, Utf8WithAndWithoutBom) {
    EXPECT_EQ(DecodeArticleBytes("caf\xC3\xA9"), u"caf\u00E9");
    EXPECT_EQ(DecodeArticleBytes("\xEF\xBB\xBF" "abc"), u"abc");
    EXPECT_EQ(DecodeArticleBytes("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(DecodeArticleBytes(""), u"");
}

TEST(ArticleDecode, FallsBackToWindows1252) {
    // A lone 0xE9 is not UTF-8: the whole file is read as Windows-1252.
    EXPECT_EQ(DecodeArticleBytes("caf\xE9 \x92 \x96 \x80 \xA0"), u"caf\u00E9 \u2019 \u2013 \u20AC \u00A0");
    // Overlong forms, surrogates and truncated sequences are not UTF-8 either.
    EXPECT_EQ(DecodeArticleBytes("\xC0\xAF"), u"\u00C0\u00AF");
    EXPECT_EQ(DecodeArticleBytes("\xED\xA0\x80"), u"\u00ED\u00A0\u20AC");
    EXPECT_EQ(DecodeArticleBytes("ab\xE2\x82"), u"ab\u00E2\u201A");
    EXPECT_EQ(DecodeArticleBytes("\x81\x8D"), u"\u0081\u008D");
}

TEST(ArticleDecode, LineBreaksBecomeCrLf) {
    EXPECT_EQ(DecodeArticleBytes("a\nb\r\nc\rd\n\n"), u"a\r\nb\r\nc\r\nd\r\n\r\n");
    EXPECT_EQ(NormaliseLineBreaks(u"\r\r\n\n"), u"\r\n\r\n\r\n");
}

TEST(ArticleDecode, Utf8RoundTrip) {
    const std::u16string text = u"A \u00E9 \u20AC \U0001F600 \r\n";
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text);
    EXPECT_EQ(EncodeUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(ArticleDecode, StrictAndLenientUtf8AgreeOnMalformedBytes) {
    // Each is refused by the strict decoder and replaced, byte by byte, by the
    // lenient one: C0/C1 and F5 lead bytes, overlong, surrogate, above
    // U+10FFFF, cut short.
    const char* const bad[] = {"\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80",
                               "\xF0\x80\x80\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                               "\xF8\x80\x80\x80\x80", "\xE2\x82", "\x80"};
    for (const std::string bytes : bad) {
        SCOPED_TRACE(bytes.size());
        EXPECT_FALSE(DecodeUtf8(bytes).has_value());
        EXPECT_FALSE(IsValidUtf8(bytes));
        std::u16string lenient;
        AppendUtf8(bytes, lenient);
        EXPECT_EQ(lenient, std::u16string(bytes.size(), char16_t(0xFFFD)));
    }
    const std::string good = "a\xC2\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF";
    std::u16string lenient = u"x";
    AppendUtf8(good, lenient);
    EXPECT_TRUE(IsValidUtf8(good));
    EXPECT_EQ(DecodeUtf8(good), lenient.substr(1));
    EXPECT_EQ(lenient, u"xa\u0080\uFFFF\U0010FFFF");
}

TEST(ArticleDecode, ReadFile) {
    const std::string path = ::testing::TempDir() + "rasp_decode_test.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "one\ntwo";
    }
    EXPECT_EQ(ReadArticleFile(path), u"one\r\ntwo");
    std::remove(path.c_str());
    EXPECT_THROW(ReadArticleFile(path), std::runtime_error);
    EXPECT_THROW(ReadArticleFile(::testing::TempDir()), std::runtime_error);  // a folder
}

TEST(ArticleNormalise, ReplacesTheThreeCharacters) {
    std::u16string text = u"a\u00A0b don\u2019t x \u2013 y \u2014";
    EXPECT_TRUE(NormaliseArticleText(text));
    EXPECT_EQ(text, u"a b don't x - y \u2014");
    EXPECT_FALSE(NormaliseArticleText(text));
}

}  // namespace
}  // namespace rasp
