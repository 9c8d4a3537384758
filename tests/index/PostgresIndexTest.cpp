#include <gtest/gtest.h>

#include "index/WordRunFingerprints.h"
#include "tests/index/IndexTestArchive.h"
#include "tests/index/TestPostgresServer.h"

namespace rasp::testing {
namespace {

std::string WithoutSize(const std::string& stats) { return stats.substr(0, stats.find("Size on disk")); }

// One server for the suite: starting one takes a few seconds.
class PostgresIndexTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FServer = new TTestPostgresServer(); }
    static void TearDownTestSuite() {
        delete FServer;
        FServer = nullptr;
    }
    void SetUp() override {
        if (!FServer->Unavailable().empty()) GTEST_SKIP() << "no PostgreSQL server: " << FServer->Unavailable();
    }
    static TTestPostgresServer* FServer;
};
TTestPostgresServer* PostgresIndexTest::FServer = nullptr;

TEST_F(PostgresIndexTest, GivesTheSameAnswersAsTheSqliteIndex) {
    TTempFolder root;
    const TTestArchive archive = WriteTestArchive(root, 21, 60, 40);
    const std::string file = root.Path() + "/index.sqlite";
    const std::string server = FServer->Address();
    for (const std::string& db : {file, server}) {
        const TRun add = RunCli({"index", "add", db, archive.Folder});
        ASSERT_EQ(add.status, 0) << add.err;
        EXPECT_EQ(add.out, "60 added, 0 updated, 0 unchanged\n");
    }
    EXPECT_EQ(RunCli({"index", "add", server, archive.Folder}).out, "0 added, 0 updated, 60 unchanged\n");
    root.Write("archive/0/doc3.txt", "changed " + ReadBytes(archive.Folder + "/0/doc3.txt"));
    for (const std::string& db : {file, server})
        EXPECT_EQ(RunCli({"index", "add", db, archive.Folder}).out, "0 added, 1 updated, 59 unchanged\n");
    EXPECT_EQ(RunCli({"index", "list", file}).out, RunCli({"index", "list", server}).out);
    EXPECT_EQ(WithoutSize(RunCli({"index", "stats", file}).out), WithoutSize(RunCli({"index", "stats", server}).out));
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--csv"}, {"--csv", "--any-order"}, {"--json", "--any-order", "--min", "25"},
          {"--top", "3"}}) {
        std::vector<std::string> a{"check", archive.ArticlePath, "--index", file};
        a.insert(a.end(), options.begin(), options.end());
        std::vector<std::string> b = a;
        b[3] = server;
        const TRun fromFile = RunCli(a);
        const TRun fromServer = RunCli(b);
        EXPECT_EQ(fromFile.status, 0) << fromFile.err;
        EXPECT_EQ(fromServer.status, 0) << fromServer.err;
        EXPECT_EQ(fromFile.out, fromServer.out) << options[0];
        EXPECT_FALSE(CsvRows(fromServer.out).empty());
    }
    for (const std::string& db : {file, server})
        EXPECT_EQ(RunCli({"index", "remove", db, archive.Folder + "/1"}).out, "10 documents removed\n");
    EXPECT_EQ(RunCli({"index", "list", file}).out, RunCli({"index", "list", server}).out);
}

TEST_F(PostgresIndexTest, RefusesWhatIsNotAnIndexAndAServerThatIsNotThere) {
    TTempFolder root;
    const std::string doc = root.Write("doc.txt", Numbered(0, 50));
    ASSERT_EQ(FServer->Psql("CREATE DATABASE empty"), 0);
    const TRun none = RunCli({"check", doc, "--index", FServer->Address("empty")});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("holds no rasp index"), std::string::npos) << none.err;
    const TRun missing = RunCli({"index", "stats", FServer->Address("nosuchdatabase")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
    const TRun down = RunCli({"index", "add", "postgresql:///x?host=" + root.Path() + "&user=rasp", doc});
    EXPECT_EQ(down.status, 2);
    EXPECT_NE(down.err.find("cannot use the index server"), std::string::npos) << down.err;
    EXPECT_EQ(std::count(down.err.begin(), down.err.end(), '\n'), 1) << down.err;
}

}  // namespace
}  // namespace rasp::testing
