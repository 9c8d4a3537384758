// What a file holds, told from its bytes: hand-made edge cases, and zip files
// written by Python's zipfile module (stored and deflated entries, a cut-off
// archive).

#include "platform/textload/FileContent.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <string>

using rasp::CheckFileContent;
using rasp::TContentKind;

namespace {

using namespace std::string_literals;

TEST(FileContent, TextAndWhatIsClearlyNotText) {
    EXPECT_EQ(CheckFileContent("").kind, TContentKind::PlainText);
    EXPECT_EQ(CheckFileContent("Hello\r\nworld \xE9").kind, TContentKind::PlainText);
    EXPECT_EQ(CheckFileContent("{\\rtf1 x\\bin2 \0\0}"s).kind, TContentKind::RichText);
    // NUL bytes are fine where a UTF-16 byte order mark explains them.
    EXPECT_EQ(CheckFileContent("\xFF\xFEh\0i\0"s).kind, TContentKind::PlainText);
    EXPECT_EQ(CheckFileContent("\xFE\xFF\0h\0i"s).kind, TContentKind::PlainText);
    EXPECT_EQ(CheckFileContent("h\0i\0"s).reason, "it holds NUL bytes, so it is not text");
    EXPECT_EQ(CheckFileContent("text then \0"s).kind, TContentKind::NotText);
    // Magic numbers that ordinary text may also start with are not enough.
    EXPECT_EQ(CheckFileContent("BMW and GIF files").kind, TContentKind::PlainText);
    EXPECT_EQ(CheckFileContent("%PDF-1.4\n%\xE2\xE3\n1 0 obj").reason, "it is a PDF document, not text");
    EXPECT_EQ(CheckFileContent("GIF89a\x01\x00\x01\x00"s).reason, "it is a GIF picture, not text");
    EXPECT_EQ(CheckFileContent("BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\1\0\0\0\1\0\0\0"s).reason,
              "it is a BMP picture, not text");
    // An OLE2 compound file is taken for a word-processor document.
    EXPECT_EQ(CheckFileContent("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s + std::string(504, '\0')).kind,
              TContentKind::WordDocument);
    // Damaged zips never read outside their bytes and stay "a zip".
    EXPECT_EQ(CheckFileContent("PK\x03\x04\x14\0\0\0\x08\0"s).reason, "it is a zip archive, not text");
    EXPECT_EQ(CheckFileContent("PK\x05\x06"s + std::string(16, '\xFF') + "\0\0"s).reason,
              "it is a zip archive, not text");
}

class ZipFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;

    // A zip made by Python: entries as name, content and whether to deflate.
    std::string Zip(const QString& script, bool cut = false) {
        if (QStandardPaths::findExecutable("python3").isEmpty()) return {};
        const QString path = dir.filePath("z.zip");
        QFile::remove(path);
        QProcess python;
        python.start("python3", {"-c", "import sys, zipfile\n"
                                       "z = zipfile.ZipFile(sys.argv[1], 'w')\n"
                                       "S, D = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED\n" + script +
                                       "\nz.close()\n",
                                 path});
        EXPECT_TRUE(python.waitForFinished(30000));
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        std::string bytes = file.readAll().toStdString();
        // A cut-off download: the central directory at the end is lost.
        if (cut) bytes.resize(bytes.size() * 2 / 3);
        return bytes;
    }
    TContentKind Kind(const QString& script, bool cut = false) {
        const std::string zip = Zip(script, cut);
        if (zip.empty()) return TContentKind::PlainText;
        return CheckFileContent(zip).kind;
    }
    void SetUp() override {
        if (QStandardPaths::findExecutable("python3").isEmpty()) GTEST_SKIP() << "python3 is not installed";
    }
};

TEST_F(ZipFiles, WordProcessorDocumentsInsideZips) {
    const QString types =
        "z.writestr('[Content_Types].xml', '<Types><Override PartName=\"/word/main.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>' * 20, D)\n";
    // Office Open XML: by its main part's content type, even under another name ...
    EXPECT_EQ(Kind(types + "z.writestr('word/main.xml', '<w/>', D)"), TContentKind::WordDocument);
    // ... or by word/document.xml.
    EXPECT_EQ(Kind("z.writestr('docProps/app.xml', 'x', D)\nz.writestr('word/document.xml', '<w/>', D)"),
              TContentKind::WordDocument);
    // OpenDocument text, with its mimetype stored (as the standard asks) or deflated.
    EXPECT_EQ(Kind("z.writestr('mimetype', 'application/vnd.oasis.opendocument.text', S)\n"
                   "z.writestr('content.xml', '<x/>' * 1000, D)"),
              TContentKind::WordDocument);
    EXPECT_EQ(Kind("z.writestr('mimetype', 'application/vnd.oasis.opendocument.text-template', D)"),
              TContentKind::WordDocument);
    // Without its central directory, by the local headers from the start.
    EXPECT_EQ(Kind("z.writestr('mimetype', 'application/vnd.oasis.opendocument.text', S)\n"
                   "z.writestr('content.xml', '<x/>' * 1000, S)",
                   true),
              TContentKind::WordDocument);
}

TEST_F(ZipFiles, OtherZipsAreNotText) {
    EXPECT_EQ(Kind("z.writestr('a.txt', 'plain words', D)"), TContentKind::NotText);
    EXPECT_EQ(Kind("z.writestr('mimetype', 'application/vnd.oasis.opendocument.spreadsheet', S)"),
              TContentKind::NotText);
    EXPECT_EQ(Kind("z.writestr('[Content_Types].xml', 'spreadsheetml.sheet.main+xml', D)\n"
                   "z.writestr('xl/workbook.xml', '<x/>', D)"),
              TContentKind::NotText);
    EXPECT_EQ(CheckFileContent(Zip("z.writestr('a.txt', 'x', S)")).reason, "it is a zip archive, not text");
}

}  // namespace
