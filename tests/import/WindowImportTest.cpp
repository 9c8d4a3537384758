// The Import command in the real window: the open dialog driven as a user
// would, the pane filled and its change handling run, the document branch on
// the fake and on the installed LibreOffice, failures told through msgMain,
// and a second Import refused while one runs.

#include "app/MainWindow.h"
#include "app/MainWindowImport.h"
#include "platform/automation/FakeWordServer.h"
#include "skinctrls/TbsSkinMessage.h"
#include "tests/import/GuiTestApp.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fstream>
#include <memory>

using namespace rasp;
using rasp::testing::GuiApp;
using rasp::testing::WhenModalShown;

namespace {

class WindowImport : public ::testing::Test {
protected:
    void SetUp() override {
        GuiApp();
        TMainWindowOptions options;
        options.ProgramDir = dir.path();
        options.CheckUpdates = false;
        window = std::make_unique<TfrmMain>(options);
        window->msgMain->SetAnswerHook([this](const TMessageRequest& r) {
            messages.push_back(r);
            return mrOk;
        });
        window->show();
        QApplication::processEvents();
    }

    std::string Write(const QString& name, const std::string& bytes) {
        std::ofstream(dir.filePath(name).toStdString(), std::ios::binary) << bytes;
        return dir.filePath(name).toStdString();
    }

    // Presses "Import" of article 1 and picks `file` in the dialog (or cancels).
    void ImportThroughDialog(const QString& file, TbsSkinButton* button = nullptr) {
        WhenModalShown<QFileDialog>([file](QFileDialog* d) {
            if (file.isEmpty()) {
                d->reject();
            } else {
                d->selectFile(file);
                static_cast<QDialog*>(d)->accept();
            }
        });
        (button ? button : window->btnImport1)->click();
    }

    int Words1() const { return static_cast<int>(window->edtWords1->Value()); }

    QTemporaryDir dir;
    std::unique_ptr<TfrmMain> window;
    std::vector<TMessageRequest> messages;
};

TEST_F(WindowImport, CancellingTheDialogChangesNothing) {
    window->rchArticle1->SetText(u"one two three");
    ASSERT_EQ(Words1(), 3);
    ImportThroughDialog({});
    EXPECT_EQ(window->rchArticle1->GetText(), u"one two three");
    EXPECT_EQ(window->FText1, u"one two three");
    EXPECT_EQ(Words1(), 3);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(ImportRunning(*window));
}

TEST_F(WindowImport, PlainTextWithNonBreakingSpacesShowsSpaces) {
    const std::string path = Write("article.txt", "Hello\xA0world.\nSecond\xA0line here.\n");
    ImportThroughDialog(QString::fromStdString(path));
    EXPECT_EQ(window->rchArticle1->GetText(), u"Hello world.\r\nSecond line here.\r\n");
    EXPECT_EQ(window->FText1, u"Hello world.\r\nSecond line here.\r\n");
    EXPECT_EQ(Words1(), 5);
    EXPECT_TRUE(messages.empty());
    // Rich text takes the same road, into the second pane.
    const std::string rtf = Write("article.rtf", "{\\rtf1\\ansi caf\\'e9\\~bar\\par next}");
    ImportThroughDialog(QString::fromStdString(rtf), window->btnImport2);
    EXPECT_EQ(window->FText2, u"caf\u00E9 bar\r\nnext");
    EXPECT_EQ(static_cast<int>(window->edtWords2->Value()), 3);
}

TEST_F(WindowImport, ReportDocGoesThroughTheWordProcessor) {
    auto log = std::make_shared<TFakeWordLog>();
    RegisterFakeWord(ImportAutomation(*window), log);
    const std::string path = Write("Report.DOC", "not read by the fake");
    ImportThroughDialog(QString::fromStdString(path));
    EXPECT_EQ(window->rchArticle1->GetText(), u"First paragraph\r\nSecond paragraph");
    EXPECT_EQ(Words1(), 4);
    EXPECT_EQ(static_cast<int>(window->edtParag1->Value()), 2);
    ASSERT_EQ(log->calls.size(), 8u);
    EXPECT_TRUE(log->calls[1].args == std::vector<TOleVariant>{QString::fromStdString(path).toStdU16String()});
    EXPECT_EQ(log->calls.back().member, "Quit");
    EXPECT_TRUE(log->application.expired());
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowImport, AFailingServerIsToldThroughTheMessageBoxAndStillQuits) {
    auto log = std::make_shared<TFakeWordLog>();
    log->failAtStep = 3;
    RegisterFakeWord(ImportAutomation(*window), log);
    window->rchArticle1->SetText(u"old text");
    const std::string path = Write("broken.docx", "x");
    ImportThroughDialog(QString::fromStdString(path));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Type, mtError);
    EXPECT_TRUE(messages[0].Text.contains(QString::fromStdString(path))) << messages[0].Text.toStdString();
    EXPECT_TRUE(messages[0].Text.contains("Fake failure at step 3")) << messages[0].Text.toStdString();
    EXPECT_EQ(log->calls.back().member, "Quit");
    EXPECT_TRUE(log->application.expired());
    // Emptied before the document was read, as the command always does.
    EXPECT_EQ(window->rchArticle1->GetText(), u"");
    EXPECT_EQ(Words1(), 0);
    EXPECT_TRUE(window->btnImport1->isEnabled());
    EXPECT_FALSE(window->rchArticle1->isReadOnly());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowImport, NoWordProcessorInstalledIsToldThroughTheMessageBox) {
    ImportAutomation(*window) = TAutomationRegistry{};
    const std::string path = Write("Thesis.docx", "x");
    ImportThroughDialog(QString::fromStdString(path));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].Text.contains(QString::fromStdString(path)));
    EXPECT_TRUE(messages[0].Text.contains("\"Word.Application\"")) << messages[0].Text.toStdString();
    // The window goes on working: a text file imports right after.
    ImportThroughDialog(QString::fromStdString(Write("next.txt", "still working")));
    EXPECT_EQ(window->rchArticle1->GetText(), u"still working");
}

TEST_F(WindowImport, ASecondImportWhileOneRunsIsRefused) {
    auto log = std::make_shared<TFakeWordLog>();
    RegisterFakeWord(ImportAutomation(*window), log);
    window->rchArticle2->SetText(u"article two stays");
    bool checked = false;
    bool dialogOpened = false;
    QPointer<QTimer> watch;
    log->onOpen = [&] {
        checked = true;
        EXPECT_TRUE(ImportRunning(*window));
        EXPECT_FALSE(window->btnImport1->isEnabled());
        EXPECT_FALSE(window->btnImport2->isEnabled());
        EXPECT_TRUE(window->rchArticle1->isReadOnly());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        watch = WhenModalShown<QFileDialog>([&](QFileDialog* d) {
            dialogOpened = true;
            d->reject();
        });
        window->btnImport2Click();
        window->btnImport1Click();
    };
    ImportThroughDialog(QString::fromStdString(Write("Report.doc", "x")));
    delete watch.data();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(dialogOpened);
    EXPECT_EQ(window->rchArticle1->GetText(), u"First paragraph\r\nSecond paragraph");
    EXPECT_EQ(window->rchArticle2->GetText(), u"article two stays");
    EXPECT_EQ(log->created, 1);
    EXPECT_FALSE(ImportRunning(*window));
    EXPECT_TRUE(window->btnImport2->isEnabled());
}

TEST_F(WindowImport, ARealDocxThroughLibreOffice) {
    if (QStandardPaths::findExecutable("soffice").isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    const std::string source = Write("Essay.txt", "The quick brown fox.\nJumps over the lazy dog.\n");
    QProcess soffice;
    soffice.start("soffice", {"-env:UserInstallation=file://" + dir.filePath("maker"), "--headless",
                              "--infilter=Text (encoded):UTF8", "--convert-to", "docx", "--outdir", dir.path(),
                              QString::fromStdString(source)});
    ASSERT_TRUE(soffice.waitForFinished(120000));
    const QString docx = dir.filePath("Essay.docx");
    ASSERT_TRUE(QFileInfo::exists(docx));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    ImportThroughDialog(docx, window->btnImport2);
    EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages[0].Text.toStdString());
    EXPECT_EQ(window->rchArticle2->GetText(), u"The quick brown fox.\r\nJumps over the lazy dog.");
    EXPECT_EQ(static_cast<int>(window->edtWords2->Value()), 9);
    EXPECT_GT(ticks, 0) << "the window did not handle events during the conversion";
}

}  // namespace
