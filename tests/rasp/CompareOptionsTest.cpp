// rasp compare with the order-free mode, the figures and left-out words, as
// the user reads them on standard output; option errors.

#include "RaspTestSupport.h"

#include <algorithm>

namespace rasp {
namespace {

using namespace rasp::testing;

TEST(CompareOptions, ShuffledArticleMatchesInFullOrderFree) {
    TTempFolder folder;
    const std::string p1 = Numbered(0, 30) + ".", p2 = Numbered(30, 50) + ".", p3 = Numbered(50, 90) + ".";
    const std::string a = folder.Write("a.txt", p1 + "\n" + p2 + "\n" + p3 + "\n");
    const std::string b = folder.Write("b.txt", p3 + "\n" + p1 + "\n" + p2 + "\n");

    // In order, the walk moves forward through article 2 and misses most of
    // the moved paragraph.
    TRun run = RunCli({"compare", a, b, "--min", "3"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Duplicate Content: 57%");

    run = RunCli({"compare", a, b, "--min", "3", "--any-order"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Duplicate Content: 100%\nWords matched: 90 of 90\nRuns: 2\nLongest run: 50 words\n"
              "Article 1 covered: 100% (90 of 90 words)\n");
    // p1 p2 form one run of 50 words; p3 is the other.
    run = RunCli({"compare", a, b, "--min=3", "--any-order", "--json"});
    EXPECT_NE(run.out.find("\n\"runs\":[[50,89,0,39,40],[0,49,40,89,50]]}\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"figures\":{\"wordsMatched\":90,\"words\":90,\"runs\":2,\"longestRun\":50,"
                           "\"article1Covered\":100,"),
              std::string::npos);
    EXPECT_EQ(run.out.rfind("{\"percentage\":100,\n\"article1\":{\"words\":[[1,3,12639424]", 0), 0u);
}

TEST(CompareOptions, LeftOutWordsAreCountedAndSaid) {
    TTempFolder folder;
    const std::string disclaimer = "The views expressed here are the author's own.";
    folder.Write("exclude.txt", "\n" + disclaimer + "\n\nnot in either article\n");
    const std::string a = folder.Write("a.txt", "He said \"we grow tomatoes\" on the balcony. " + disclaimer);
    const std::string b = folder.Write("b.txt", disclaimer + " We grow tomatoes on the balcony, he said.");

    TRun run = RunCli({"compare", a, b, "--any-order", "--ignore-quoted", "--exclude", folder.Path() + "/exclude.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    // Article 1: 3 quoted words and the 8 of the disclaimer left out, 5
    // words take part ("He said on the balcony"); article 2: 8 left out, 8
    // take part, of which "on the balcony" and "he said" match: 62.5%,
    // shown as 62 (ties to the even neighbour).
    EXPECT_EQ(run.out,
              "Duplicate Content: 62%\nWords matched: 5 of 8\nRuns: 2\nLongest run: 3 words\n"
              "Article 1 covered: 100% (5 of 5 words)\nLeft out: 11 words of article 1, 8 of article 2\n");

    // An empty list leaves nothing out, and says so.
    const std::string empty = folder.Write("empty.txt", "\n\n");
    run = RunCli({"compare", a, b, "--exclude", empty});
    EXPECT_NE(run.out.find("\nLeft out: 0 words of article 1, 0 of article 2\n"), std::string::npos) << run.out;

    run = RunCli({"compare", a, b, "--ignore-quoted", "--json"});
    EXPECT_NE(run.out.find("\"excluded1\":3,\"excluded2\":0}"), std::string::npos) << run.out;
}

TEST(CompareOptions, MistakesAreOneLineAndStatusTwo) {
    TTempFolder folder;
    const std::string a = folder.Write("a.txt", "one two three");
    const std::vector<std::vector<std::string>> cases = {
        {"compare", a, a, "--any-order", "--unit", "sentences"},
        {"compare", a, a, "--html"},
        {"compare", a, a, "--html="},
        {"compare", a, a, "--csv"},
        {"compare", a, a, "--top", "3"},
        {"compare", a, a, "--any-order=yes"},
        {"compare", a, a, "--exclude", folder.Path() + "/missing.txt"},
        {"compare", a, a, "--html", folder.Path()},
        {"scan", a},
        {"scan", a, folder.Path(), "--json", "--csv"},
        {"scan", a, folder.Path(), "--top", "0"},
        {"scan", a, folder.Path(), "--html", "x.html"},
        {"scan", folder.Path() + "/missing.txt", folder.Path()},
    };
    for (const auto& args : cases) {
        const TRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("rasp: ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

TEST(CompareOptions, TheReportNeverOverwritesAnArticle) {
    TTempFolder folder;
    const std::string a = folder.Write("a.txt", "one two three");
    const std::string b = folder.Write("b.txt", "two three four");
    const TRun run = RunCli({"compare", a, b, "--html", folder.Path() + "/./b.txt"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("one of the articles"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadBytes(b), "two three four");
}

}  // namespace
}  // namespace rasp
