#include "app/OnlineConstants.h"
#include "app/VersionNumber.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

namespace rasp {
namespace {

std::uint32_t Bits(float f) { return std::bit_cast<std::uint32_t>(f); }

TEST(VersionNumber, ParsesAsA32BitFloat)
{
    EXPECT_EQ(Bits(AppVersionNumber), 0x3F8147AEu);
    EXPECT_EQ(Bits(VersionFromText("1.01")), 0x3F8147AEu);
    EXPECT_EQ(Bits(VersionFromText("1.010000001")), 0x3F8147AEu); // equal as floats
    EXPECT_GT(VersionFromText("1.0100001"), AppVersionNumber);
    EXPECT_EQ(VersionFromText("2"), 2.0f);
    EXPECT_EQ(VersionFromText(" 1.02\t"), 1.02f);
    EXPECT_EQ(VersionFromText("+1.5"), 1.5f);
    EXPECT_EQ(VersionFromText("-3"), -3.0f);
    EXPECT_EQ(VersionFromText("15e-1"), 1.5f);
    EXPECT_EQ(VersionFromText(".5"), 0.5f);
}

// strtof in the "C" locale is the plain reference for well-formed numbers.
TEST(VersionNumber, AgreesWithStrtofOnRandomDecimals)
{
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> digit(0, 9), length(1, 12), point(0, 13), exponent(-8, 8);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int n = length(random);
        const int dot = point(random);
        for (int k = 0; k < n; ++k) {
            if (k == dot)
                text += '.';
            text += static_cast<char>('0' + digit(random));
        }
        if (i % 3 == 0)
            text += "e" + std::to_string(exponent(random));
        const float expected = std::strtof(text.c_str(), nullptr);
        EXPECT_EQ(Bits(VersionFromText(text)), Bits(expected)) << text;
    }
}

TEST(VersionNumber, TextThatIsNotAFiniteFloatIsZero)
{
    for (const char* text : {"", " ", "abc", "1,02", "1.02a", "1.0.2", "inf", "-inf", "nan", "infinity",
                             "0x10", "1e", "e5", "+", "-", "1e100", "++1", "1 2"})
        EXPECT_EQ(VersionFromText(text), 0.0f) << text;
}

TEST(VersionNumber, TextForTheUpdaterHas15SignificantDigits)
{
    EXPECT_EQ(VersionText(AppVersionNumber), "1.00999999046326");
    EXPECT_EQ(VersionText(2.0f), "2");
    EXPECT_EQ(VersionText(1.5f), "1.5");
}

TEST(VersionNumber, DecimalPointWhateverTheLocale)
{
    // A locale with a decimal comma, where one is installed.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
        if (std::setlocale(LC_ALL, name)) {
            comma = true;
            break;
        }
    EXPECT_EQ(Bits(VersionFromText("1.01")), 0x3F8147AEu);
    EXPECT_EQ(VersionFromText("1,01"), 0.0f);
    EXPECT_EQ(VersionText(AppVersionNumber), "1.00999999046326");
    std::setlocale(LC_ALL, before.c_str());
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma installed";
}

} // namespace
} // namespace rasp
