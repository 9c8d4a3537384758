// rasp scan on a temporary tree: the ranked table, JSON and CSV, --top, both
// modes, and every kind of entry that has to be skipped (binary, too large,
// a pipe, broken links, a link loop, no permission) reported with its
// reason while the scan goes on; nothing written anywhere.

#include "RaspTestSupport.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "tools/rasp/ScanCommand.h"

namespace rasp {
namespace {

using namespace rasp::testing;
namespace fs = std::filesystem;

const std::string kArticle = Numbered(0, 20) + ". " + Numbered(20, 40) + ". " + Numbered(40, 60) + ".";

// Every entry below `root` with its kind, size and modification time.
std::map<std::string, std::string> Snapshot(const std::string& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        entries[entry.path()] = std::to_string(info.st_mode) + " " + std::to_string(info.st_size) + " " +
                                std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
    }
    return entries;
}

class Scan : public ::testing::Test {
protected:
    void SetUp() override {
        FArticle = FFolder.Write("article.txt", kArticle);
        T = FFolder.Path() + "/tree";
        FFolder.Write("tree/copy.txt", kArticle);
        FFolder.Write("tree/shuffled.txt", Numbered(30, 60) + ".\n" + Numbered(0, 30) + ".\n");
        FFolder.Write("tree/sub/half.rtf", "{\\rtf1\\ansi " + Numbered(0, 30) + " " + Numbered(100, 130) + "\\par}");
        FFolder.Write("tree/sub/Other.TXT", Numbered(200, 240));
        FFolder.Write("tree/picture.png", "\x89PNG\r\n");
        FFolder.Write("tree/binary.txt", std::string("w0 w1\0\0\x01\x02 w2", 12));
        ASSERT_EQ(::symlink(T.c_str(), (T + "/loop").c_str()), 0);
        ASSERT_EQ(::symlink("self.txt", (T + "/self.txt").c_str()), 0);
        ASSERT_EQ(::symlink("nowhere.txt", (T + "/broken.txt").c_str()), 0);
        ASSERT_EQ(::symlink("copy.txt", (T + "/link-to-copy.txt").c_str()), 0);
        ASSERT_EQ(::link(FArticle.c_str(), (T + "/article-again.txt").c_str()), 0);
        ASSERT_EQ(::mkfifo((T + "/fifo.txt").c_str(), 0644), 0);
        // Past the loader's limit without using the disk: a sparse file.
        const int big = ::open((T + "/big.txt").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(big, 0);
        ASSERT_EQ(::ftruncate(big, (257LL << 20)), 0);
        ::close(big);
    }

    TTempFolder FFolder;
    std::string FArticle;
    std::string T;
};

TEST_F(Scan, RanksTheCollectionAndSaysWhatItSkipped) {
    const auto before = Snapshot(FFolder.Path());
    const TRun run = RunCli({"scan", FArticle, T, "--any-order"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out,
              "Article    File  Longest  Path\n"
              " 100.0%  100.0%       60  " + T + "/copy.txt\n"
              " 100.0%  100.0%       30  " + T + "/shuffled.txt\n"
              "  50.0%   50.0%       30  " + T + "/sub/half.rtf\n"
              "   0.0%    0.0%        0  " + T + "/sub/Other.TXT\n"
              "4 files compared, 6 skipped\n");
    EXPECT_EQ(run.err,
              "rasp: note: skipping '" + T + "/article-again.txt': the article itself\n"
              "rasp: note: skipping '" + T + "/picture.png': not a .txt, .rtf, .doc, .docx or .odt file\n"
              "rasp: skipped '" + T + "/broken.txt': broken symbolic link\n"
              "rasp: skipped '" + T + "/fifo.txt': not an ordinary file\n"
              "rasp: skipped '" + T + "/loop': symbolic link loop (leads back to '" + T + "')\n"
              "rasp: skipped '" + T + "/self.txt': symbolic link loop\n"
              "rasp: skipped '" + T + "/big.txt': the file is larger than 256 MB\n"
              "rasp: skipped '" + T + "/binary.txt': binary file, not text\n");
    EXPECT_EQ(Snapshot(FFolder.Path()), before) << "a scan writes nothing";
}

TEST_F(Scan, InOrderJsonCsvAndTop) {
    // In order the moved half of shuffled.txt is partly lost, as in the window.
    TRun run = RunCli({"scan", FArticle, T + "/shuffled.txt", T + "/sub", "--json", "--min", "3"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"article\":\"" + FArticle +
                                "\",\"mode\":\"in-order\",\"min\":3,\"unit\":\"words\",\"compared\":3,\n\"files\":[\n"
                                "{\"path\":\"" + T + "/shuffled.txt\",\"articleFound\":",
                            0),
              0u)
        << run.out;
    EXPECT_NE(run.out.find("{\"path\":\"" + T + "/sub/half.rtf\",\"articleFound\":50,\"fileFound\":50,"
                           "\"longestRun\":30,\"articleWordsMatched\":30,\"fileWordsMatched\":30,\"fileWords\":60}"),
              std::string::npos);
    EXPECT_EQ(run.out.find("\"articleFound\":100"), std::string::npos) << "in order, shuffled.txt is not all found";
    EXPECT_NE(run.out.find("],\n\"skipped\":[]}\n"), std::string::npos);

    run = RunCli({"scan", FArticle, T, "--csv", "--top", "2", "--any-order"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "file,article_found_percent,file_found_percent,longest_run\r\n" + T + "/copy.txt,100,100,60\r\n" +
                           T + "/shuffled.txt,100,100,30\r\n");

    run = RunCli({"scan", FArticle, T, "--json", "--any-order", "--top=1"});
    EXPECT_NE(run.out.find("\"compared\":4,"), std::string::npos);
    EXPECT_NE(run.out.find("{\"path\":\"" + T + "/binary.txt\",\"reason\":\"binary file, not text\"}"),
              std::string::npos);
    EXPECT_EQ(run.out.find("shuffled.txt"), std::string::npos);

    // Names that would break a table line or a CSV field.
    const std::string odd = FFolder.Write("odd/a,\"b\"\nc.txt", kArticle);
    run = RunCli({"scan", FArticle, FFolder.Path() + "/odd", "--csv"});
    EXPECT_EQ(run.out, "file,article_found_percent,file_found_percent,longest_run\r\n\"" + FFolder.Path() +
                           "/odd/a,\"\"b\"\"\nc.txt\",100,100,60\r\n");
    run = RunCli({"scan", FArticle, FFolder.Path() + "/odd", "--json"});
    EXPECT_NE(run.out.find("/odd/a,\\\"b\\\"\\u000ac.txt\""), std::string::npos) << run.out;
    run = RunCli({"scan", FArticle, FFolder.Path() + "/odd"});
    EXPECT_NE(run.out.find("/odd/a,\"b\"?c.txt\n"), std::string::npos) << run.out;
}

TEST_F(Scan, MissingPathsAreSkippedAndTheScanGoesOn) {
    const TRun run = RunCli({"scan", FArticle, FFolder.Path() + "/missing", T + "/copy.txt"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "rasp: skipped '" + FFolder.Path() + "/missing': No such file or directory\n");
    EXPECT_NE(run.out.find("1 file compared, 1 skipped\n"), std::string::npos) << run.out;
}

TEST(ScanExclusions, LeftOutWordsCountInNeitherShare) {
    // The shared disclaimer would make every file look related.
    TTempFolder folder;
    const std::string disclaimer = "All opinions are my own and not my employer's.";
    const std::string list = folder.Write("boilerplate.txt", disclaimer + "\n");
    const std::string article = folder.Write("article.txt", kArticle + "\n" + disclaimer);
    folder.Write("tree/other.txt", Numbered(300, 330) + ".\n" + disclaimer + "\n\"" + Numbered(0, 10) + "\"");
    TRun run = RunCli({"scan", article, folder.Path() + "/tree", "--any-order", "--json"});
    // The disclaimer (9 words) and w1..w8 match ('"w0' is not 'w0').
    EXPECT_NE(run.out.find("\"articleWordsMatched\":17,\"fileWordsMatched\":17,\"fileWords\":49}"), std::string::npos)
        << run.out;
    run = RunCli({"scan", article, folder.Path() + "/tree", "--any-order", "--json", "--exclude", list, "--ignore-quoted"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"articleFound\":0,\"fileFound\":0,\"longestRun\":0,\"articleWordsMatched\":0,"
                           "\"fileWordsMatched\":0,\"fileWords\":30}"),
              std::string::npos)
        << run.out;
}

TEST(ScanProgress, TheBarIsDrawnAndClearedBeforeTheTable) {
    TTempFolder folder;
    for (int k = 0; k < 60; ++k) folder.Write("tree/" + std::to_string(k) + ".txt", Numbered(k, k + 50));
    TScanRequest request;
    request.ArticlePath = folder.Path() + "/article.txt";
    request.ArticleText = u"w10 w11 w12";
    request.Paths = {folder.Path() + "/tree"};
    request.Progress = true;
    request.Threads = 4;
    std::ostringstream out, err;
    EXPECT_EQ(RunScan(request, out, err), 0);
    const std::string bar = err.str();
    EXPECT_EQ(bar.rfind("\r[", 0), 0u) << bar;
    EXPECT_EQ(bar.substr(bar.size() - 4), "\r\x1b[K");
    EXPECT_EQ(bar.find('\n'), std::string::npos);
    EXPECT_NE(out.str().find("60 files compared\n"), std::string::npos);
}

// Runs the command as the unprivileged user "nobody" when the tests run as
// root (root may read anything, so permissions would not show otherwise).
TRun RunWithoutPrivileges(const std::vector<std::string>& args) {
    if (::geteuid() != 0) return RunCli(args);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
        const TRun run = RunCli(args);
        const std::string message = std::to_string(run.status) + "\n" + std::to_string(run.out.size()) + "\n" +
                                    run.out + run.err;
        std::size_t done = 0;
        while (done < message.size()) {
            const ssize_t n = ::write(pipeFds[1], message.data() + done, message.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string message;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) message.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the unprivileged run failed";
    TRun run;
    const std::size_t a = message.find('\n');
    const std::size_t b = message.find('\n', a + 1);
    if (a == std::string::npos || b == std::string::npos) return run;
    run.status = std::stoi(message.substr(0, a));
    const std::size_t outSize = std::stoul(message.substr(a + 1, b - a - 1));
    run.out = message.substr(b + 1, outSize);
    run.err = message.substr(b + 1 + outSize);
    return run;
}

TEST(ScanPermissions, UnreadableFilesAndFoldersAreSkipped) {
    TTempFolder folder;
    const std::string article = folder.Write("article.txt", kArticle);
    const std::string tree = folder.Path() + "/tree";
    folder.Write("tree/ok.txt", kArticle);
    folder.Write("tree/locked.txt", kArticle);
    folder.Write("tree/shut/inner.txt", kArticle);
    for (const std::string& path : {folder.Path(), tree}) ::chmod(path.c_str(), 0755);
    ::chmod(article.c_str(), 0644);
    ::chmod((tree + "/ok.txt").c_str(), 0644);
    ::chmod((tree + "/locked.txt").c_str(), 0);
    ::chmod((tree + "/shut").c_str(), 0);

    const TRun run = RunWithoutPrivileges({"scan", article, tree});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err,
              "rasp: skipped '" + tree + "/shut': Permission denied\n"
              "rasp: skipped '" + tree + "/locked.txt': Permission denied\n");
    EXPECT_EQ(run.out, "Article    File  Longest  Path\n 100.0%  100.0%       60  " + tree + "/ok.txt\n"
                       "1 file compared, 2 skipped\n");
}

}  // namespace
}  // namespace rasp
