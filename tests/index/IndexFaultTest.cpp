#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/index/IndexTestArchive.h"

namespace rasp::testing {
namespace {

void Sql(const std::string& db, const std::string& statement) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &raw), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(raw, statement.c_str(), nullptr, nullptr, &message);
    const std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(raw);
    ASSERT_EQ(rc, SQLITE_OK) << text;
}

// Every stored document with all of its fingerprints, and nothing else.
void ExpectWholeDocuments(const std::string& db) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw,
                                 "SELECT (SELECT total(length(fingerprints)/4) FROM documents),"
                                 "(SELECT count(*) FROM fingerprints),"
                                 "(SELECT count(*) FROM fingerprints WHERE document NOT IN (SELECT id FROM documents))",
                                 -1, &s, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    // Fingerprints are stored once per document; the blob keeps the same set.
    EXPECT_EQ(static_cast<long long>(sqlite3_column_double(s, 0)), sqlite3_column_int64(s, 1));
    EXPECT_EQ(sqlite3_column_int64(s, 2), 0);
    sqlite3_finalize(s);
    sqlite3_close(raw);
}

TEST(IndexFaultTest, FilesThatAreNotIndexesAreRefusedAndLeftUntouched) {
    TTempFolder root;
    const std::string doc = root.Write("a/doc.txt", Numbered(0, 50));
    const std::string text = root.Write("notes.txt", "not a database at all\n");
    const std::string empty = root.Write("empty.sqlite", "");
    const std::string other = root.Path() + "/other.sqlite";
    Sql(other, "CREATE TABLE t(x); INSERT INTO t VALUES(1)");
    const std::string newer = root.Path() + "/newer.sqlite";
    ASSERT_EQ(RunCli({"index", "add", newer, doc}).status, 0);
    Sql(newer, "UPDATE rasp_index_meta SET value='99' WHERE key='version'");
    for (const std::string& db : {text, empty, other, newer}) {
        const std::string before = ReadBytes(db);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"index", "add", db, doc}, {"index", "stats", db}, {"index", "list", db},
              {"index", "remove", db, doc}, {"check", doc, "--index", db}}) {
            const TRun run = RunCli(args);
            EXPECT_EQ(run.status, 2) << db << " " << args[1];
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_NE(run.err.find(db == newer ? "newer" : "not a rasp index"), std::string::npos) << run.err;
        }
        EXPECT_EQ(ReadBytes(db), before) << db;
        EXPECT_FALSE(std::filesystem::exists(db + "-wal")) << db;
    }
    EXPECT_EQ(RunCli({"index", "stats", root.Path() + "/missing.sqlite"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(root.Path() + "/missing.sqlite"));
}

TEST(IndexFaultTest, ADamagedIndexGivesOneLineAndStatusTwo) {
    TTempFolder root;
    const TTestArchive archive = WriteTestArchive(root, 9, 40, 3000);
    const std::string db = root.Path() + "/index.sqlite";
    ASSERT_EQ(RunCli({"index", "add", db, archive.Folder}).status, 0);
    std::string bytes = ReadBytes(db);
    ASSERT_GT(bytes.size(), 8192u);
    // Every page after the first overwritten: the header still says SQLite.
    for (std::size_t k = 4096; k < bytes.size(); ++k) bytes[k] = static_cast<char>(k * 7919 % 251);
    root.Write("index.sqlite", bytes);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", archive.ArticlePath, "--index", db}, {"index", "stats", db},
          {"index", "list", db}, {"index", "add", db, archive.Folder}}) {
        const TRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << args[1] << run.out;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(db), std::string::npos) << run.err;
    }
}

TEST(IndexFaultTest, AKilledAddLeavesTheDocumentsBeforeIt) {
    TTempFolder root;
    const TTestArchive archive = WriteTestArchive(root, 4, 400, 3000);
    const std::string db = root.Path() + "/index.sqlite";
    ASSERT_EQ(RunCli({"index", "add", db, archive.ArticlePath}).status, 0);
    for (const int delayMs : {30, 90}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RunCli({"index", "add", db, archive.Folder});
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ExpectWholeDocuments(db);
        const TRun stats = RunCli({"index", "stats", db});
        EXPECT_EQ(stats.status, 0) << stats.err;
        if (delayMs == 30) {
            EXPECT_EQ(stats.out.find("Documents: 401\n"), std::string::npos) << "not interrupted";
        }
        const TRun check = RunCli({"check", archive.ArticlePath, "--index", db, "--csv"});
        EXPECT_EQ(check.status, 0) << check.err;
    }
    const TRun finish = RunCli({"index", "add", db, archive.Folder});
    EXPECT_EQ(finish.status, 0) << finish.err;
    const TRun stats = RunCli({"index", "stats", db});
    EXPECT_NE(stats.out.find("Documents: 401\n"), std::string::npos) << stats.out;
    ExpectWholeDocuments(db);
}

// A file size limit stands in for a full disk: writes past it fail.
TEST(IndexFaultTest, AnAddThatCannotWriteStopsWithOneLineAndKeepsTheIndex) {
    TTempFolder root;
    const TTestArchive archive = WriteTestArchive(root, 8, 300, 3000);
    const std::string db = root.Path() + "/index.sqlite";
    ASSERT_EQ(RunCli({"index", "add", db, archive.ArticlePath}).status, 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{256 * 1024, 256 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const TRun add = RunCli({"index", "add", db, archive.Folder});
        const bool ok = add.status == 2 && std::count(add.err.begin(), add.err.end(), '\n') == 1 &&
                        add.err.find(db) != std::string::npos;
        if (!ok) std::fprintf(stderr, "status %d: %s", add.status, add.err.c_str());
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ExpectWholeDocuments(db);
    const TRun stats = RunCli({"index", "stats", db});
    EXPECT_EQ(stats.status, 0) << stats.err;
    EXPECT_EQ(stats.out.find("Documents: 301\n"), std::string::npos) << stats.out;
    EXPECT_EQ(RunCli({"index", "add", db, archive.Folder}).status, 0);
    ExpectWholeDocuments(db);
}

TEST(IndexFaultTest, ChecksRunWhileAnotherProcessAdds) {
    TTempFolder root;
    const TTestArchive archive = WriteTestArchive(root, 6, 300, 3000);
    const std::string db = root.Path() + "/index.sqlite";
    ASSERT_EQ(RunCli({"index", "add", db, archive.ArticlePath}).status, 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(RunCli({"index", "add", db, archive.Folder}).status);
    int checks = 0;
    for (;;) {
        const TRun check = RunCli({"check", archive.ArticlePath, "--index", db, "--csv"});
        ASSERT_EQ(check.status, 0) << check.err;
        ++checks;
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            break;
        }
    }
    EXPECT_GT(checks, 1);
    EXPECT_EQ(RunCli({"index", "add", db, archive.Folder}).out, "0 added, 0 updated, 300 unchanged\n");
}

// Root may write anywhere; the read-only case runs as nobody then.
TEST(IndexFaultTest, AReadOnlyIndexCanBeCheckedButNotChanged) {
    TTempFolder root;
    const std::string article = root.Write("article.txt", Numbered(0, 100));
    const std::string doc = root.Write("archive/doc.txt", Numbered(0, 60));
    const std::string db = root.Path() + "/index.sqlite";
    ASSERT_EQ(RunCli({"index", "add", db, doc}).status, 0);
    std::filesystem::permissions(root.Path(), std::filesystem::perms(0555));
    std::filesystem::permissions(db, std::filesystem::perms(0444));
    if (::geteuid() == 0) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(77);
            const TRun add = RunCli({"index", "add", db, doc});
            const TRun check = RunCli({"check", article, "--index", db, "--csv"});
            const bool ok = add.status == 2 && add.err.find("read-only") != std::string::npos &&
                            check.status == 0 && CsvRows(check.out).size() == 1;
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot become nobody to test a read-only index";
        EXPECT_EQ(WEXITSTATUS(status), 0);
        return;
    }
    const TRun add = RunCli({"index", "add", db, doc});
    EXPECT_EQ(add.status, 2);
    EXPECT_NE(add.err.find("read-only"), std::string::npos) << add.err;
    const TRun check = RunCli({"check", article, "--index", db, "--csv"});
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(CsvRows(check.out).size(), 1u);
}

}  // namespace
}  // namespace rasp::testing
