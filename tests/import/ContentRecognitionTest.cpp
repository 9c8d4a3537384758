// Files are recognised by what they hold, not by their names: documents made
// by LibreOffice go through the word processor under any name, pictures and
// PDF files made by ImageMagick and LibreOffice are refused with the reason,
// by the window (the pane keeps its text) and by `rasp` (status 2).

#include "app/MainWindow.h"
#include "platform/textload/FileContent.h"
#include "platform/textload/TextFileLoader.h"
#include "tests/import/GuiTestApp.h"
#include "tools/rasp/RaspCli.h"

#include "skinctrls/TbsOpenDlgForm.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

using namespace rasp;
using rasp::testing::GuiApp;
using rasp::testing::WhenModalShown;

namespace {

std::string Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

bool RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Real files of other programs, made once for the whole executable.
class RealFiles : public ::testing::Test {
protected:
    static inline std::unique_ptr<QTemporaryDir> work;
    static inline std::map<QString, QString> made;  // kind -> path
    static inline bool office = false, magick = false;

    static QString Path(const QString& name) { return QDir(work->path()).filePath(name); }

    static void SetUpTestSuite() {
        GuiApp();
        work = std::make_unique<QTemporaryDir>();
        office = !QStandardPaths::findExecutable("soffice").isEmpty();
        magick = !QStandardPaths::findExecutable("convert").isEmpty();
        std::ofstream(Path("Article.txt").toStdString(), std::ios::binary)
            << "Alpha beta gamma.\nSecond paragraph here.\n";
        if (office) {
            const QString profile = "-env:UserInstallation=file://" + Path("profile");
            for (const char* format : {"odt", "docx", "doc:MS Word 97", "pdf"}) {
                RunProgram("soffice", {profile, "--headless", "--infilter=Text (encoded):UTF8", "--convert-to", format,
                                "--outdir", work->path(), Path("Article.txt")});
            }
            for (const char* kind : {"odt", "docx", "doc", "pdf"}) made[kind] = Path(QString("Article.") + kind);
        }
        if (magick) {
            for (const char* kind : {"png", "jpg", "gif"}) {
                const QString out = Path(QString("picture.") + kind);
                if (RunProgram("convert", {"-size", "16x8", "xc:red", out})) made[kind] = out;
            }
        }
    }
    static void TearDownTestSuite() { work.reset(); }

    // A copy of a made file under another name.
    static QString Renamed(const QString& kind, const QString& name) {
        const QString to = Path(name);
        QFile::remove(to);
        EXPECT_TRUE(QFile::copy(made.at(kind), to)) << kind.toStdString();
        return to;
    }
    void NeedOffice() {
        if (!office) GTEST_SKIP() << "LibreOffice is not installed";
        for (const char* kind : {"odt", "docx", "doc", "pdf"})
            ASSERT_TRUE(QFileInfo::exists(made[kind])) << "soffice did not make the " << kind << " file";
    }
    void NeedMagick() {
        if (!magick) GTEST_SKIP() << "ImageMagick is not installed";
        ASSERT_EQ(made.count("png") + made.count("jpg") + made.count("gif"), 3u) << "convert failed";
    }
};

std::string RunCli(const std::vector<std::string>& args, int expectedStatus) {
    std::ostringstream out, err;
    EXPECT_EQ(RunRasp(args, out, err), expectedStatus) << err.str();
    return out.str() + err.str();
}

TEST_F(RealFiles, DocumentsOfTheWordProcessorAreKnownByTheirContent) {
    NeedOffice();
    for (const char* kind : {"odt", "docx", "doc"})
        EXPECT_EQ(CheckFileContent(Bytes(made[kind])).kind, TContentKind::WordDocument) << kind;
    EXPECT_EQ(CheckFileContent(Bytes(made["pdf"])).reason, "it is a PDF document, not text");
}

TEST_F(RealFiles, PicturesAreRefusedWithWhatTheyAre) {
    NeedMagick();
    EXPECT_EQ(CheckFileContent(Bytes(made["png"])).reason, "it is a PNG picture, not text");
    EXPECT_EQ(CheckFileContent(Bytes(made["jpg"])).reason, "it is a JPEG picture, not text");
    EXPECT_EQ(CheckFileContent(Bytes(made["gif"])).reason, "it is a GIF picture, not text");
    try {
        LoadTextFile(made["png"].toStdString());
        ADD_FAILURE() << "a PNG picture was loaded as text";
    } catch (const ELoadStreamError& e) {
        EXPECT_STREQ(e.what(), "Failed to Load Stream");
        EXPECT_EQ(e.Reason(), "it is a PNG picture, not text");
    }
}

TEST_F(RealFiles, RaspReadsDocumentsUnderAnyNameAndRefusesTheRest) {
    NeedOffice();
    const std::string odt = Renamed("odt", "notes.data").toStdString();
    EXPECT_EQ(RunCli({"stats", odt}, 0), "Words: 6\nSentences: 2\nParagraphs: 2\n");
    const std::string doc = Renamed("doc", "old-format.bin").toStdString();
    EXPECT_EQ(RunCli({"density", doc, "beta"}, 0).substr(0, 14), "Occurrences: 1");
    const std::string pdf = made["pdf"].toStdString();
    EXPECT_EQ(RunCli({"stats", pdf}, 2), "rasp: cannot read '" + pdf + "': it is a PDF document, not text\n");
    if (magick) {
        const std::string png = made["png"].toStdString();
        EXPECT_EQ(RunCli({"stats", png}, 2), "rasp: cannot read '" + png + "': it is a PNG picture, not text\n");
    }
}

class WindowContent : public RealFiles {
protected:
    void SetUp() override {
        TMainWindowOptions options;
        options.ProgramDir = programDir.path();
        options.CheckUpdates = false;
        window = std::make_unique<TfrmMain>(options);
        window->msgMain->SetAnswerHook([this](const TMessageRequest& r) {
            messages.push_back(r);
            return mrOk;
        });
        window->show();
        QApplication::processEvents();
    }
    void Import(const QString& file) {
        WhenModalShown<TbsOpenDlgForm>([file](TbsOpenDlgForm* d) {
            // Into the file's folder, then the file picked in the list.
            const QFileInfo info(file);
            ASSERT_TRUE(d->OpenFolder(info.absolutePath()));
            ASSERT_TRUE(d->SelectName(info.fileName()));
            d->Confirm();
        });
        window->btnImport1->click();
    }

    QTemporaryDir programDir;
    std::unique_ptr<TfrmMain> window;
    std::vector<TMessageRequest> messages;
};

TEST_F(WindowContent, APictureIsRefusedAndThePaneKeepsItsText) {
    NeedMagick();
    window->rchArticle1->SetText(u"my unsaved article");
    Import(made["png"]);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Type, mtError);
    EXPECT_TRUE(messages[0].Text.contains("Failed to Load Stream: it is a PNG picture, not text."))
        << messages[0].Text.toStdString();
    EXPECT_EQ(window->rchArticle1->GetText(), u"my unsaved article");
    EXPECT_EQ(static_cast<int>(window->edtWords1->Value()), 3);
    EXPECT_TRUE(window->btnImport1->isEnabled());
}

TEST_F(WindowContent, ADocxNamedLikeTextGoesThroughTheWordProcessor) {
    NeedOffice();
    Import(Renamed("docx", "draft.txt"));
    EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages[0].Text.toStdString());
    EXPECT_EQ(window->rchArticle1->GetText(), u"Alpha beta gamma.\r\nSecond paragraph here.");
    EXPECT_EQ(static_cast<int>(window->edtWords1->Value()), 6);
}

}  // namespace
