// The pane's file loader on real files: rich text first, then plain text, and
// "Failed to Load Stream" for everything that cannot be read.

#include "platform/textload/TextFileLoader.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using rasp::LoadTextFile;

namespace {

class TextFileLoader : public ::testing::Test {
protected:
    QTemporaryDir dir;

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static void ExpectFailure(const std::string& path, const std::string& reason) {
        try {
            LoadTextFile(path);
            ADD_FAILURE() << "loaded " << path;
        } catch (const rasp::ELoadStreamError& e) {
            EXPECT_STREQ(e.what(), "Failed to Load Stream");
            EXPECT_EQ(e.Reason(), reason);
        }
    }
};

TEST_F(TextFileLoader, RichTextFirstThenPlainText) {
    EXPECT_EQ(LoadTextFile(Write("a.rtf", "{\\rtf1\\ansi One\\par Two}")), u"One\r\nTwo");
    // The content decides, not the name.
    EXPECT_EQ(LoadTextFile(Write("a.txt", "{\\rtf1 rich}")), u"rich");
    EXPECT_EQ(LoadTextFile(Write("b.rtf", "plain\nrtf-named")), u"plain\r\nrtf-named");
    EXPECT_EQ(LoadTextFile(Write("c.txt", "Hello\xA0world\n")), u"Hello\u00A0world\r\n");
    EXPECT_EQ(LoadTextFile(Write("empty.txt", "")), u"");
}

TEST_F(TextFileLoader, UnreadableThingsFailToLoadWithoutHanging) {
    ExpectFailure(dir.filePath("missing.txt").toStdString(), "No such file or directory");
    ExpectFailure(dir.path().toStdString(), "it is a folder, not a file");
    ExpectFailure("/dev/zero", "it is not an ordinary file");
    const std::string fifo = dir.filePath("pipe").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ExpectFailure(fifo, "it is not an ordinary file");
    if (::geteuid() != 0) {
        const std::string locked = Write("locked.txt", "secret");
        ::chmod(locked.c_str(), 0);
        ExpectFailure(locked, "Permission denied");
    }
}

TEST_F(TextFileLoader, CommandLineCallersMayReadPipes) {
    const std::string fifo = dir.filePath("pipe").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << "{\\rtf1 piped\\par text}"; });
    EXPECT_EQ(LoadTextFile(fifo, rasp::TStreamPolicy::AllowStreams), u"piped\r\ntext");
    writer.join();
    EXPECT_THROW(LoadTextFile(dir.path().toStdString(), rasp::TStreamPolicy::AllowStreams), rasp::ELoadStreamError);
}

}  // namespace
