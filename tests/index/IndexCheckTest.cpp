#include <gtest/gtest.h>

#include <map>
#include <set>

#include "index/WordRunFingerprints.h"
#include "tests/index/IndexTestArchive.h"
#include "tools/rasp/IndexCommand.h"

namespace rasp::testing {
namespace {

// `check` against `scan` of the same archive: every document scan finds with
// a run of the guaranteed length is proposed, and each row check prints is
// the row scan prints for that document.
void ExpectCheckAgreesWithScan(const std::string& db, const TTestArchive& archive, const std::string& label,
                               int* guaranteedSeen = nullptr) {
    const std::string min = std::to_string(kGuaranteeWords);
    for (const bool anyOrder : {true, false}) {
        std::vector<std::string> scanArgs{"scan", archive.ArticlePath, archive.Folder, "--csv", "--min", min};
        std::vector<std::string> checkArgs{"check", archive.ArticlePath, "--index", db, "--csv"};
        if (anyOrder) {
            scanArgs.push_back("--any-order");
            checkArgs.push_back("--any-order");
        }
        const TRun scan = RunCli(scanArgs);
        const TRun check = RunCli(checkArgs);
        ASSERT_EQ(scan.status, 0) << scan.err;
        ASSERT_EQ(check.status, 0) << check.err;
        const std::vector<std::string> scanRows = CsvRows(scan.out);
        const std::vector<std::string> checkRows = CsvRows(check.out);
        const std::set<std::string> checked(checkRows.begin(), checkRows.end());
        const std::set<std::string> scanned(scanRows.begin(), scanRows.end());
        for (const std::string& row : checkRows)
            EXPECT_TRUE(scanned.count(row)) << label << (anyOrder ? " any order" : " in order") << ": " << row;
        for (const std::string& row : scanRows) {
            if (LongestOfRow(row) < kGuaranteeWords) continue;
            if (guaranteedSeen) ++*guaranteedSeen;
            EXPECT_TRUE(checked.count(row)) << label << (anyOrder ? " any order" : " in order")
                                            << ": not proposed: " << row;
        }
        // The rows keep scan's order.
        std::vector<std::string> inScanOrder;
        for (const std::string& row : scanRows)
            if (checked.count(row)) inScanOrder.push_back(row);
        EXPECT_EQ(inScanOrder, checkRows) << label;
    }
}

TEST(IndexCheckTest, ProposesEveryDocumentScanFindsWithTheGuaranteedRun) {
    int guaranteed = 0;
    for (const auto& [seed, vocabulary] : {std::pair{1u, 3000}, std::pair{2u, 4}, std::pair{3u, 40}}) {
        TTempFolder root;
        const TTestArchive archive = WriteTestArchive(root, seed, 60, vocabulary);
        const std::string db = root.Path() + "/index.sqlite";
        const TRun add = RunCli({"index", "add", db, archive.Folder});
        ASSERT_EQ(add.status, 0) << add.err;
        EXPECT_EQ(add.out, "60 added, 0 updated, 0 unchanged\n");
        ExpectCheckAgreesWithScan(db, archive, "vocabulary " + std::to_string(vocabulary), &guaranteed);
    }
    EXPECT_GT(guaranteed, 40);
}

TEST(IndexCheckTest, ProposesOnlyDocumentsThatShareAFingerprintedRun) {
    TTempFolder root;
    const TTestArchive archive = WriteTestArchive(root, 5, 80, 5000);
    const std::string db = root.Path() + "/index.sqlite";
    ASSERT_EQ(RunCli({"index", "add", db, archive.Folder}).status, 0);
    const TRun all = RunCli({"check", archive.ArticlePath, "--index", db, "--csv", "--any-order", "--min", "3"});
    EXPECT_NE(all.err.find("comparing every indexed document"), std::string::npos);
    EXPECT_EQ(CsvRows(all.out).size(), 80u);
    std::map<std::string, int> longest;
    const TRun scan = RunCli({"scan", archive.ArticlePath, archive.Folder, "--csv", "--any-order",
                              "--min", std::to_string(kGramWords)});
    for (const std::string& row : CsvRows(scan.out)) longest[row.substr(0, row.find(','))] = LongestOfRow(row);
    const TRun indexed = RunCli({"check", archive.ArticlePath, "--index", db, "--csv", "--any-order"});
    const std::vector<std::string> rows = CsvRows(indexed.out);
    EXPECT_LT(rows.size(), 70u);
    for (const std::string& row : rows) EXPECT_GE(longest[row.substr(0, row.find(','))], kGramWords) << row;
}

TEST(IndexCheckTest, AddSkipsUnchangedAndRefreshesChangedDocuments) {
    TTempFolder root;
    const std::string article = root.Write("article.txt", Numbered(0, 100));
    const std::string doc = root.Write("archive/doc.txt", Numbered(200, 300));
    const std::string db = root.Path() + "/i.sqlite";
    ASSERT_EQ(RunCli({"index", "add", db, root.Path() + "/archive"}).out, "1 added, 0 updated, 0 unchanged\n");
    EXPECT_EQ(RunCli({"index", "add", db, doc}).out, "0 added, 0 updated, 1 unchanged\n");
    EXPECT_EQ(CsvRows(RunCli({"check", article, "--index", db, "--csv"}).out).size(), 0u);
    // Same size, new words: the article's first 30.
    root.Write("archive/doc.txt", Numbered(0, 30) + " " + Numbered(230, 300));
    EXPECT_EQ(RunCli({"index", "add", db, doc}).out, "0 added, 1 updated, 0 unchanged\n");
    EXPECT_EQ(CsvRows(RunCli({"check", article, "--index", db, "--csv"}).out),
              std::vector<std::string>{IndexedPath(doc) + ",30,30,30"});
    const TRun stats = RunCli({"index", "stats", db});
    EXPECT_NE(stats.out.find("Documents: 1\nWords: 100\n"), std::string::npos) << stats.out;
    EXPECT_EQ(RunCli({"index", "remove", db, root.Path() + "/archive"}).out, "1 document removed\n");
    const TRun again = RunCli({"index", "remove", db, doc});
    EXPECT_EQ(again.status, 3);
    EXPECT_EQ(RunCli({"index", "list", db}).out, "  Words  Path\n");
}

}  // namespace
}  // namespace rasp::testing
