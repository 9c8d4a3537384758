// rasp scan reads .odt files through the word processor (they are zip
// archives, which read as plain text would be skipped as binary).

#include "RaspTestSupport.h"

#include <cstdlib>

namespace rasp {
namespace {

using namespace rasp::testing;

TEST(ScanOffice, OpenDocumentTextIsReadThroughTheWordProcessor) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
    TTempFolder folder;
    const std::string text = Numbered(0, 40) + ".\n" + Numbered(40, 80) + ".\n";
    const std::string article = folder.Write("article.txt", text);
    folder.Write("make/Published.txt", Numbered(40, 80) + ".\n" + Numbered(100, 140) + ".\n");
    const std::string command = "soffice -env:UserInstallation=file://" + folder.Path() +
                                "/profile --headless '--infilter=Text (encoded):UTF8' --convert-to odt --outdir " +
                                folder.Path() + "/tree " + folder.Path() + "/make/Published.txt > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const TRun run = RunCli({"scan", article, folder.Path() + "/tree", "--any-order"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Article    File  Longest  Path\n  50.0%   50.0%       40  " + folder.Path() +
                           "/tree/Published.odt\n1 file compared\n");

    // The same rule for an .odt ARTICLE.
    const TRun back = RunCli({"scan", folder.Path() + "/tree/Published.odt", folder.Path() + "/make", "--any-order"});
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, "Article    File  Longest  Path\n 100.0%  100.0%       80  " + folder.Path() +
                            "/make/Published.txt\n1 file compared\n");
}

}  // namespace
}  // namespace rasp
