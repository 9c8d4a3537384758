// The command-line companion reads articles the way Import fills a pane.

#include "tools/rasp/RaspCli.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <thread>
#include <sys/stat.h>

namespace {

std::string RunCli(const std::vector<std::string>& args, int expectedStatus = 0) {
    std::ostringstream out, err;
    EXPECT_EQ(rasp::RunRasp(args, out, err), expectedStatus) << err.str();
    return out.str() + err.str();
}

TEST(RaspImport, RichTextPlainTextAndPipes) {
    QTemporaryDir dir;
    const std::string rtf = dir.filePath("draft.rtf").toStdString();
    std::ofstream(rtf, std::ios::binary) << "{\\rtf1{\\info{\\title Not counted}}One two\\par three\\'92s}";
    EXPECT_EQ(RunCli({"stats", rtf}), "Words: 3\nSentences: 2\nParagraphs: 2\n");

    const std::string fifo = dir.filePath("pipe").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << "one\xA0two"; });
    EXPECT_EQ(RunCli({"stats", fifo}), "Words: 2\nSentences: 1\nParagraphs: 1\n");
    writer.join();

    EXPECT_EQ(RunCli({"stats", dir.path().toStdString()}, 2),
              "rasp: cannot read '" + dir.path().toStdString() + "': it is a folder, not a file\n");
}

}  // namespace
