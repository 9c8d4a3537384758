#include "app/MainWindow.h"
#include "app/UUtils.h"
#include "app/UpdateChecker.h"
#include "tests/online/TestFiles.h"
#include "tests/online/TestHttpServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace rasp {
namespace {

using test::TTestHttpServer;

const QString kNoUpdate = "There's no new updates for this application!";

// Handles events until done() holds or the time is up.
template <class F>
bool WaitUntil(F done, int milliseconds = 10000)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

void Pump(int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class MainWindowOnline : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    TTestHttpServer server;
    std::unique_ptr<TfrmMain> window;
    QStringList shown;
    QList<TMsgDlgType> types;
    QList<int> answers; // given to the boxes in turn; Cancel when used up
    const QByteArray infPath = "/liveupdate/tellivo_rasp/mainappupdate.inf";

    void Open(QString baseUrl = {})
    {
        ASSERT_TRUE(programDir.isValid());
        TMainWindowOptions options;
        options.ProgramDir = programDir.path();
        options.UpdateBaseURL = baseUrl.isEmpty() ? server.Url("/liveupdate/tellivo_rasp/") : baseUrl;
        window = std::make_unique<TfrmMain>(options);
        window->msgMain->SetAnswerHook([this](const TMessageRequest& request) {
            shown.append(request.Text);
            types.append(request.Type);
            return answers.isEmpty() ? mrCancel : answers.takeFirst();
        });
        window->show();
    }
    void ServeVersion(const QByteArray& version)
    {
        server.SetOk(infPath, "[APPLICATION]\r\nVersion=" + version + "\r\n");
    }
    bool CheckFinished() const
    {
        return window->FUpdateChecker && !window->FUpdateChecker->Checking();
    }
};

TEST_F(MainWindowOnline, SilentCheckRunsOnceAfterStartAndOffersANewerVersion)
{
    ServeVersion("2");
    Open();
    ASSERT_TRUE(WaitUntil([this] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown, QStringList{"There is a new update: (version 2) available for your application!. "
                                 "Do you want download this update now?"});
    Pump(400);
    EXPECT_EQ(server.Requests().size(), 1);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowOnline, CheckUpdatesAnnouncesThatThereIsNoUpdate)
{
    ServeVersion("1.01");
    Open();
    ASSERT_TRUE(WaitUntil([this] { return CheckFinished(); }));
    EXPECT_TRUE(shown.isEmpty());
    window->btnUpdate->click();
    EXPECT_EQ(shown, QStringList{kNoUpdate});
}

TEST_F(MainWindowOnline, ACutChunkedAnswerEndsTheCheckAndCheckUpdatesWorksAgain)
{
    // The last chunk without the CR LF that ends the answer, then the
    // connection closes: the silent check used to wait for ever, and the
    // button did nothing for the rest of the session.
    server.Set(infPath, {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                         "1a\r\n[APPLICATION]\r\nVersion=2\r\n\r\n0\r\n"});
    Open();
    ASSERT_TRUE(WaitUntil([this] { return CheckFinished(); }));
    EXPECT_TRUE(shown.isEmpty());
    window->btnUpdate->click();
    EXPECT_EQ(shown, QStringList{"Could not check for updates: the connection closed before the answer was complete."});
    ServeVersion("2");
    shown.clear();
    window->btnUpdate->click();
    EXPECT_EQ(shown, QStringList{"There is a new update: (version 2) available for your application!. "
                                 "Do you want download this update now?"});
    EXPECT_EQ(server.Requests().size(), 3);
}

TEST_F(MainWindowOnline, AFailedCheckIsQuietAtStartAndAWarningWithItsReasonOnTheButton)
{
    Open(QStringLiteral("http://127.0.0.1:%1/liveupdate/tellivo_rasp/").arg(TTestHttpServer::ClosedPort()));
    ASSERT_TRUE(WaitUntil([this] { return CheckFinished(); }));
    EXPECT_TRUE(shown.isEmpty());
    window->btnUpdate->click();
    EXPECT_EQ(shown, QStringList{"Could not check for updates: connection refused."});
    EXPECT_EQ(types, QList<TMsgDlgType>{mtWarning});
    EXPECT_TRUE(window->isVisible());

    // A server that answers with an error is no answer about updates either.
    window.reset();
    shown.clear();
    types.clear();
    server.Set(infPath, {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n"});
    Open();
    ASSERT_TRUE(WaitUntil([this] { return CheckFinished(); }));
    EXPECT_TRUE(shown.isEmpty());
    window->btnUpdate->click();
    EXPECT_EQ(shown, QStringList{"Could not check for updates: the server answered with status 500."});
    EXPECT_EQ(types, QList<TMsgDlgType>{mtWarning});
}

TEST_F(MainWindowOnline, AgreeingHandsOverToTheUpdaterAndClosesTheWindow)
{
    const QString record = QDir(programDir.path()).filePath("args.txt");
    test::WriteFile(QDir(programDir.path()).filePath("Updater"), test::RecordingScript(record), true);
    ServeVersion("1.5");
    answers = {mrOk, mrOk};
    Open();
    ASSERT_TRUE(WaitUntil([this] { return !window->isVisible(); }));
    EXPECT_EQ(shown.size(), 2);
    ASSERT_TRUE(test::WaitForFile(record));
    EXPECT_EQ(test::ReadFile(record),
              (server.Url("/liveupdate/tellivo_rasp/") + "\n1.00999999046326\nA\n").toLocal8Bit());
}

TEST_F(MainWindowOnline, ClosingTheWindowWhileTheCheckHangsEndsTheProgramCleanly)
{
    server.Set(infPath, {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n[APPLICATION]", true});
    Open();
    // The program's own loop: closing the last window quits it.
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [this, &poll] {
        if (!server.Requests().isEmpty()) {
            poll.stop();
            window->close();
        }
    });
    poll.start();
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); }); // never reached when sound
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(shown.isEmpty());
    ASSERT_TRUE(window->FUpdateChecker);
    EXPECT_FALSE(window->FUpdateChecker->Checking());
    EXPECT_FALSE(QFileInfo::exists(QDir(programDir.path()).filePath("mainappupdate.inf")));
    window.reset();
}

TEST_F(MainWindowOnline, ClosingDuringAnInteractiveCheckShowsNothing)
{
    ServeVersion("1.01");
    Open();
    ASSERT_TRUE(WaitUntil([this] { return CheckFinished(); }));
    server.Set(infPath, {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n[APPLICATION]", true});
    QTimer::singleShot(200, window.get(), [this] { window->close(); });
    window->btnUpdate->click();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowOnline, HelpOpensTheHelpPageInTheBrowser)
{
    QTemporaryDir desktop;
    test::TScopedEnv env;
    const QString record = desktop.filePath("browser-args.txt");
    test::InstallFakeBrowser(env, desktop.path(), record);
    ServeVersion("1.01");
    Open();
    window->btnHelp->click();
    ASSERT_TRUE(test::WaitForFile(record));
    EXPECT_EQ(test::ReadFile(record), "http://www.tellivo-rasp.example/rasphelp\n");
}

TEST_F(MainWindowOnline, WithoutABrowserEveryLinkNamesItsAddressToOpenByHand)
{
    // A desktop that registers no browser for http.
    QTemporaryDir desktop;
    test::TScopedEnv env;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
        env.Set(name, desktop.filePath(QString::fromLatin1(name)));
    env.Set("XDG_CURRENT_DESKTOP", "");
    test::WriteFile(QDir(programDir.path()).filePath("dbconfig.dat"),
                    "[Settings]\r\nAfiliateID=ab12\r\nLink1URL=http://one.example/\r\nLink1Name=One\r\n"
                    "Link2URL=http://two.example/x\r\nLink2Name=Two\r\n");
    ServeVersion("1.01");
    Open();
    ASSERT_TRUE(WaitUntil([this] { return CheckFinished(); }));
    shown.clear();
    window->btnHelp->click();
    window->btnMakeMoney->click();
    window->FBannerURL = QStringLiteral("http://banner.example/");
    window->imgBannerClick();
    window->gifBannerClick();
    for (TbsSkinLinkLabel* link : {window->lblLink1URL, window->lblLink2URL})
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    // The two links may be shown in either order.
    EXPECT_EQ(QSet<QString>({window->FLink1URL, window->FLink2URL}),
              QSet<QString>({"http://one.example/", "http://two.example/x"}));
    QStringList expected;
    for (const QString& url : {QStringLiteral("http://www.tellivo-rasp.example/rasphelp"),
                               QStringLiteral("http://www.tellivo-rasp.example/partners/ab12"),
                               QStringLiteral("http://banner.example/"), QStringLiteral("http://banner.example/"),
                               window->FLink1URL, window->FLink2URL})
        expected << NoBrowserMessage(url);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(types, QList<TMsgDlgType>(expected.size(), mtWarning));
    EXPECT_TRUE(shown.front().endsWith("\nhttp://www.tellivo-rasp.example/rasphelp")) << shown.front().toStdString();
    // A banner without a target stays a picture.
    shown.clear();
    window->FBannerURL.clear();
    window->imgBannerClick();
    EXPECT_TRUE(shown.isEmpty());
}

} // namespace
} // namespace rasp
