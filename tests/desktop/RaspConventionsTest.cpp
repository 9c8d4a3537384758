// rasp's help, version and coloured comparison.

#include "tools/rasp/ColorOutput.h"
#include "tools/rasp/Help.h"
#include "tools/rasp/RaspCli.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace rasp {
namespace {

struct TRun {
    int status;
    std::string out;
    std::string err;
};

TRun Rasp(const std::vector<std::string>& args, const TTerminal& terminal = {})
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunRasp(args, out, err, terminal);
    return {status, out.str(), err.str()};
}

class RaspConventions : public ::testing::Test {
protected:
    std::string a = ::testing::TempDir() + "rasp_conv_a.txt";
    std::string b = ::testing::TempDir() + "rasp_conv_b.txt";
    void SetUp() override
    {
        std::ofstream(a, std::ios::binary) << "A b.";
        std::ofstream(b, std::ios::binary) << "z a\n";
    }
    void TearDown() override
    {
        std::remove(a.c_str());
        std::remove(b.c_str());
    }
};

const char* const kCyan256 = "\x1b[1;30;48;5;51m";

TEST_F(RaspConventions, VersionAndHelp)
{
    EXPECT_EQ(Rasp({"--version"}).out, "rasp (Tellivo Rasp) " RASP_VERSION "\n");
    EXPECT_EQ(Rasp({"-V"}).status, 0);

    const TRun all = Rasp({"help"});
    EXPECT_EQ(all.status, 0);
    for (const char* command : {"stats FILE", "compare FILE1 FILE2", "density FILE PHRASE", "--version"})
        EXPECT_NE(all.out.find(command), std::string::npos) << command;
    EXPECT_NE(all.out.find("Exit status"), std::string::npos);
    EXPECT_EQ(Rasp({"--help"}).out, all.out);
    EXPECT_EQ(Rasp({"-h"}).out, all.out);

    // Three ways to the help of one command, which runs nothing.
    const TRun compare = Rasp({"help", "compare"});
    EXPECT_EQ(compare.status, 0);
    EXPECT_EQ(compare.out.rfind("usage: rasp compare FILE1 FILE2", 0), 0u) << compare.out;
    EXPECT_NE(compare.out.find("--color"), std::string::npos);
    EXPECT_EQ(Rasp({"compare", "--help"}).out, compare.out);
    EXPECT_EQ(Rasp({"compare", "missing1", "missing2", "-h"}).out, compare.out);
    EXPECT_EQ(Rasp({"stats", "--help"}).out, *CommandHelp("stats"));
    EXPECT_EQ(Rasp({"density", "x", "--help"}).status, 0);
    // After "--" it is a file name like any other.
    const TRun file = Rasp({"stats", "--", "--help"});
    EXPECT_EQ(file.status, 2);
    EXPECT_NE(file.err.find("cannot read '--help'"), std::string::npos) << file.err;

    TRun bad = Rasp({"help", "frobnicate"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "rasp: help: unknown command 'frobnicate' (stats, compare, scan, index, check, density, help)\n");
    bad = Rasp({"help", "stats", "extra"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(Rasp({}).err, "rasp: missing command\n" + UsageText());
}

TEST_F(RaspConventions, ColouredComparisonShowsEachRunOnItsColour)
{
    const std::string figures = "Words matched: 1 of 2\nRuns: 1\nLongest run: 1 word\n"
                                "Article 1 covered: 50% (1 of 2 words)\n";
    const std::string expected = "\x1b[1m--- Article 1: " + a + "\x1b[0m\n" + kCyan256 + "A\x1b[0m b.\n" +
                                 "\x1b[1m--- Article 2: " + b + "\x1b[0m\n" + "z " + kCyan256 + "a\x1b[0m\n" +
                                 "Duplicate Content: 50%\n" + figures;
    TRun run = Rasp({"compare", a, b, "--color=always"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(Rasp({"compare", "--color", a, b}).out, expected);

    // A terminal gets colour unless NO_COLOR is set or TERM is dumb; a pipe
    // never; an explicit choice outranks NO_COLOR.
    TTerminal terminal;
    terminal.StdoutIsTerminal = true;
    EXPECT_EQ(Rasp({"compare", a, b}, terminal).out, expected);
    EXPECT_EQ(Rasp({"compare", a, b, "--color=auto"}, terminal).out, expected);
    const std::string plain = "Duplicate Content: 50%\n" + figures;
    EXPECT_EQ(Rasp({"compare", a, b}).out, plain);
    EXPECT_EQ(Rasp({"compare", a, b, "--color=never"}, terminal).out, plain);
    terminal.NoColor = true;
    EXPECT_EQ(Rasp({"compare", a, b}, terminal).out, plain);
    EXPECT_EQ(Rasp({"compare", a, b, "--color=always"}, terminal).out, expected);
    terminal.NoColor = false;
    terminal.DumbTerm = true;
    EXPECT_EQ(Rasp({"compare", a, b}, terminal).out, plain);

    // JSON is for programs: never coloured.
    run = Rasp({"compare", a, b, "--json", "--color=always"});
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);

    run = Rasp({"compare", a, b, "--color=sometimes"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "rasp: --color must be auto, always or never, not 'sometimes'\n");
    // Only compare colours.
    EXPECT_EQ(Rasp({"stats", a, "--color=always"}).status, 2);
}

TEST(RaspColorOutput, ColoursAreTheWindowsAsTrueColourOrTheNearestOf256)
{
    EXPECT_EQ(ColorStart(0xC0DCC0, true), "\x1b[1;30;48;2;192;220;192m");  // light green
    EXPECT_EQ(ColorStart(0x0000FF, true), "\x1b[1;30;48;2;255;0;0m");      // red: red is the low byte
    EXPECT_EQ(ColorStart(0xFFFF00, false), kCyan256);
    EXPECT_EQ(ColorStart(0x00FFFF, false), "\x1b[1;30;48;5;226m");  // yellow
    EXPECT_EQ(ColorStart(0x008080, false), "\x1b[1;30;48;5;100m");  // olive: 128 -> step 2
    EXPECT_EQ(ColorStart(0xC0C0C0, false), "\x1b[1;30;48;5;145m");  // silver: 192 -> step 3 (175)
}

std::string Highlighted(const std::u16string& text, const std::vector<TWord>& words)
{
    TListWords list;
    for (const TWord& word : words)
        list.AddWord(word.StartPos, word.EndPos, word.Color);
    std::ostringstream out;
    WriteHighlightedArticle(out, text, list, true);
    return out.str();
}

TEST(RaspColorOutput, RunsCoverTheirSeparatorsAndStopAtLineEnds)
{
    const std::string cyan = "\x1b[1;30;48;2;0;255;255m";
    const std::string red = "\x1b[1;30;48;2;255;0;0m";
    const std::string end = "\x1b[0m";
    // Two words of one colour across ", " are one stretch; a different
    // colour, or plain, breaks it; punctuation after a highlighted last word
    // takes its colour.
    EXPECT_EQ(Highlighted(u" one, two three four!", {{2, 5, 0xFFFF00}, {7, 10, 0xFFFF00}, {11, 16, 0x0000FF},
                                                     {17, 21, 0xFFFFFF}}),
              " " + cyan + "one, two" + end + " " + red + "three" + end + " four!");
    EXPECT_EQ(Highlighted(u"a b.", {{1, 2, 0xFFFFFF}, {3, 4, 0x0000FF}}), "a " + red + "b." + end);
    // A stretch across a paragraph break closes before each line end; CR LF
    // and a lone CR are line ends of their own, and non-ASCII text is UTF-8.
    EXPECT_EQ(Highlighted(u"\u00e9t\u00e9\r\n\r\nb\rc", {{1, 4, 0x0000FF}, {8, 9, 0x0000FF}, {10, 11, 0x0000FF}}),
              red + "\xc3\xa9t\xc3\xa9" + end + "\n\n" + red + "b" + end + "\n" + red + "c" + end);
    // No words: the text as it is.
    EXPECT_EQ(Highlighted(u"...\r\n", {}), "...\n");
    // Spans past the text or out of order are clipped, never read beyond it.
    EXPECT_EQ(Highlighted(u"ab", {{1, 9, 0x0000FF}, {0, 1, 0x0000FF}}), red + "ab" + end);
}

}  // namespace
}  // namespace rasp
