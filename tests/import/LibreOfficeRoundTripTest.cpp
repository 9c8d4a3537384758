// "Word.Application" served by the installed LibreOffice: documents made here
// by converting a text file come back with their text and paragraphs, the
// window's events keep flowing during the conversion, and no temporary file
// outlives the import, whether it worked or not.

#include "platform/automation/LibreOfficeWord.h"
#include "platform/automation/WordDocumentReader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <fstream>
#include <memory>

using namespace rasp;

namespace {

const std::u16string kExpected =
    u"Alpha beta gamma.\rSecond paragraph with caf\u00E9 and \u201Cquotes\u201D.\r\rFourth paragraph.\r";

class LibreOfficeRoundTrip : public ::testing::Test {
protected:
    static inline std::unique_ptr<QCoreApplication> app;
    static inline std::unique_ptr<QTemporaryDir> work;
    static inline QString docx, odt;

    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "import_office_tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
        work = std::make_unique<QTemporaryDir>();
        // Every temporary file of the server goes to a folder of our own, so
        // the test can see that none is left behind.
        QDir(work->path()).mkpath("tmp");
        ::setenv("TMPDIR", QDir(work->path()).filePath("tmp").toLocal8Bit().constData(), 1);
        if (QStandardPaths::findExecutable("soffice").isEmpty()) return;

        const QString source = QDir(work->path()).filePath("Article.txt");
        std::ofstream(source.toStdString(), std::ios::binary)
            << "Alpha beta gamma.\nSecond paragraph with caf\xC3\xA9 and \xE2\x80\x9Cquotes\xE2\x80\x9D.\n\n"
               "Fourth paragraph.\n";
        for (const char* format : {"docx", "odt"}) {
            QProcess soffice;
            soffice.start("soffice", {"-env:UserInstallation=file://" + QDir(work->path()).filePath("maker"),
                                      "--headless", "--infilter=Text (encoded):UTF8", "--convert-to", format,
                                      "--outdir", work->path(), source});
            soffice.waitForFinished(120000);
        }
        docx = QDir(work->path()).filePath("Article.docx");
        odt = QDir(work->path()).filePath("Article.odt");
    }

    static void TearDownTestSuite() {
        work.reset();
        app.reset();
    }

    void SetUp() override {
        if (QStandardPaths::findExecutable("soffice").isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
        ASSERT_TRUE(QFileInfo::exists(docx) && QFileInfo::exists(odt)) << "soffice did not make the documents";
        RegisterLibreOfficeWord(registry);
    }

    void TearDown() override {
        EXPECT_TRUE(QDir(QDir(work->path()).filePath("tmp")).isEmpty()) << "temporary files were left behind";
    }

    TAutomationRegistry registry;
};

TEST_F(LibreOfficeRoundTrip, DocxAndOdtComeBackWithTextAndParagraphs) {
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ReadWordDocumentText(registry, docx.toStdU16String()), kExpected);
    const qint64 docxMs = clock.elapsed();
    EXPECT_GT(ticks, 0) << "events were not handled during the conversion";
    EXPECT_EQ(ReadWordDocumentText(registry, odt.toStdU16String()), kExpected);
    std::printf("[ figures  ] .docx import through LibreOffice: %lld ms\n", static_cast<long long>(docxMs));
}

TEST_F(LibreOfficeRoundTrip, UnreadableDocumentsGiveAClearErrorAndCleanUp) {
    const QString corrupt = QDir(work->path()).filePath("Corrupt.docx");
    std::ofstream(corrupt.toStdString(), std::ios::binary) << "PK\x03\x04 not really a zip";
    try {
        ReadWordDocumentText(registry, corrupt.toStdU16String());
        ADD_FAILURE() << "a corrupt document was read";
    } catch (const EOleError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("cannot open"), std::string::npos) << message;
        EXPECT_NE(message.find("Corrupt.docx"), std::string::npos) << message;
    }
    try {
        ReadWordDocumentText(registry, u"/nonexistent/Missing.doc");
        ADD_FAILURE() << "a missing document was read";
    } catch (const EOleError& e) {
        EXPECT_NE(std::string(e.what()).find("does not exist"), std::string::npos) << e.what();
    }
}

TEST_F(LibreOfficeRoundTrip, AMissingOfficeProgramIsReportedAtCreation) {
    TAutomationRegistry none;
    RegisterLibreOfficeWord(none, {QDir(work->path()).filePath("no-such-soffice"), 1000});
    EXPECT_THROW(ReadWordDocumentText(none, docx.toStdU16String()), EOleSysError);
}

TEST_F(LibreOfficeRoundTrip, AHungConversionIsKilledAtTheTimeout) {
    // A stand-in office program that never answers.
    const QString hang = QDir(work->path()).filePath("hang.sh");
    std::ofstream(hang.toStdString()) << "#!/bin/sh\nsleep 60\n";
    QFile::setPermissions(hang, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    TAutomationRegistry slow;
    RegisterLibreOfficeWord(slow, {hang, 300});
    QElapsedTimer clock;
    clock.start();
    try {
        ReadWordDocumentText(slow, docx.toStdU16String());
        ADD_FAILURE() << "the hung conversion returned";
    } catch (const EOleError& e) {
        EXPECT_NE(std::string(e.what()).find("did not finish"), std::string::npos) << e.what();
    }
    EXPECT_LT(clock.elapsed(), 20000);
}

}  // namespace
