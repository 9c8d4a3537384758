#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/rasp/RaspCli.h"

namespace rasp {
namespace {

struct TRun {
    int status;
    std::string out;
    std::string err;
};

TRun RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunRasp(args, out, err);
    return {status, out.str(), err.str()};
}

class RaspCli : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = ::testing::TempDir() + "rasp_cli_" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        FPaths.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const std::string& path : FPaths) std::remove(path.c_str());
    }

private:
    std::vector<std::string> FPaths;
};

TEST_F(RaspCli, Stats) {
    // LF line breaks are read as CR LF; the worked example of the segmenter.
    const std::string file = Write("stats.txt", "Hello, world. Bye!\nNew line");
    const TRun run = RunCli({"stats", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Words: 5\nSentences: 3\nParagraphs: 2\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(RaspCli, CompareShowsTheRoundedPercentage) {
    // 133 of 200 words shared: 66.5 shows as 66 (ties to the even neighbour).
    std::string shared;
    std::string other;
    for (int i = 0; i < 133; ++i) shared += "w" + std::to_string(i) + " ";
    for (int i = 0; i < 67; ++i) other += "z" + std::to_string(i) + " ";
    const std::string a = Write("a.txt", shared);
    const std::string b = Write("b.txt", shared + other);
    TRun run = RunCli({"compare", a, b});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "Duplicate Content: 66%\nWords matched: 133 of 200\nRuns: 1\nLongest run: 133 words\n"
              "Article 1 covered: 100% (133 of 133 words)\n");
    run = RunCli({"compare", a, b, "--json", "--min", "4", "--unit", "sentences"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("{\"percentage\":66.5,", 0), 0u) << run.out;
}

TEST_F(RaspCli, CompareJson) {
    const std::string a = Write("j1.txt", "A b.");
    const std::string b = Write("j2.txt", "\xEF\xBB\xBFz a\n");
    const TRun run = RunCli({"compare", "--json", a, b, "--unit=words", "--min=1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "{\"percentage\":50,\n"
              "\"article1\":{\"words\":[[1,2,16776960],[3,4,16777215]],\"sentences\":[[0,1]],"
              "\"paragraphs\":[[0,1]]},\n"
              "\"article2\":{\"words\":[[1,2,16777215],[3,4,16776960]],\"sentences\":[[0,1]],"
              "\"paragraphs\":[[0,1]]},\n"
              "\"figures\":{\"wordsMatched\":1,\"words\":2,\"runs\":1,\"longestRun\":1,\"article1Covered\":50,"
              "\"article1WordsMatched\":1,\"article1Words\":2,\"excluded1\":0,\"excluded2\":0},\n"
              "\"runs\":[[0,0,1,1,1]]}\n");
}

TEST_F(RaspCli, CompareBlankArticle) {
    const std::string a = Write("blank.txt", " \n\n ");
    const std::string b = Write("full.txt", "some words");
    const TRun run = RunCli({"compare", a, b});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "Duplicate Content: 0%\nWords matched: 0 of 2\nRuns: 0\nLongest run: 0 words\n"
              "Article 1 covered: 0% (0 of 0 words)\n");
}

TEST_F(RaspCli, Density) {
    const std::string file = Write("d.txt", "The theme of the");
    TRun run = RunCli({"density", file, "the"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Occurrences: 3\nDensity: 75.00%\n");
    run = RunCli({"density", file, ""});
    EXPECT_EQ(run.out, "Occurrences: 0\nDensity: 0.00%\n");
    run = RunCli({"density", file, "--", "--x"});
    EXPECT_EQ(run.out, "Occurrences: 0\nDensity: 0.00%\n");
}

TEST_F(RaspCli, BadUsageIsOneLineAndStatusTwo) {
    const std::string file = Write("u.txt", "x");
    const std::string missing = ::testing::TempDir() + "rasp_cli_does_not_exist.txt";
    const std::vector<std::vector<std::string>> cases = {
        {"stats", missing},
        {"stats", ::testing::TempDir()},
        {"compare", file, missing},
        {"compare", file, file, "--min", "0"},
        {"compare", file, file, "--min", "-3"},
        {"compare", file, file, "--min", "abc"},
        {"compare", file, file, "--min", "3x"},
        {"compare", file, file, "--min", "99999999999999"},
        {"compare", file, file, "--min"},
        {"compare", file, file, "--unit", "letters"},
        {"compare", file, file, "--colour"},
        {"compare", file},
        {"stats", file, "--json"},
        {"stats"},
        {"stats", file, file},
        {"density", file},
        {"frobnicate"},
    };
    for (const auto& args : cases) {
        const TRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << args[0] << " " << (args.size() > 1 ? args.back() : "");
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("rasp: ", 0), 0u);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    const TRun none = RunCli({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(RunCli({"--help"}).status, 0);
}

}  // namespace
}  // namespace rasp
