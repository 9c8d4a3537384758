// Where the real window stores the update description: beside the program
// when it may write there, in the user's cache when it is installed.

#include "app/MainWindow.h"
#include "app/UpdateChecker.h"
#include "tests/online/TestFiles.h"
#include "tests/online/TestHttpServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace rasp {
namespace {

const QByteArray kDescription = "[APPLICATION]\r\nName=Tellivo Rasp\r\nVersion=1.01\r\n";

class InstalledUpdateCheck : public ::testing::Test {
protected:
    QTemporaryDir root;
    test::TScopedEnv env;
    test::TTestHttpServer server;
    std::unique_ptr<TfrmMain> window;

    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        env.Set("XDG_CACHE_HOME", root.path() + "/cache");
        server.SetOk("/liveupdate/tellivo_rasp/mainappupdate.inf", kDescription);
    }

    // Opens the window on programDir and waits for its silent check.
    void CheckFrom(const QString& programDir)
    {
        TMainWindowOptions options;
        options.ProgramDir = programDir;
        options.UpdateBaseURL = server.Url("/liveupdate/tellivo_rasp/");
        window = std::make_unique<TfrmMain>(options);
        window->msgMain->SetAnswerHook([](const TMessageRequest&) { return mrCancel; });
        window->show();
        const QDeadlineTimer deadline(10000);
        while (!(window->FUpdateChecker && !window->FUpdateChecker->Checking()) && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        ASSERT_EQ(server.Requests().size(), 1);
    }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

TEST_F(InstalledUpdateCheck, AnInstalledWindowKeepsTheDescriptionInTheUserCache)
{
    // The folder itself need not exist: under /usr it is the package
    // manager's either way.
    CheckFrom(QStringLiteral("/usr/lib/tellivo-rasp-not-installed"));
    EXPECT_EQ(window->FUpdateChecker->DownloadDir(), root.path() + "/cache/tellivo-rasp/");
    EXPECT_EQ(Read(root.path() + "/cache/tellivo-rasp/mainappupdate.inf"), kDescription);
    EXPECT_FALSE(QFileInfo::exists("/usr/lib/tellivo-rasp-not-installed"));
}

TEST_F(InstalledUpdateCheck, ACopyInAFolderOfItsOwnKeepsItBesideTheProgram)
{
    const QString program = root.path() + "/program";
    ASSERT_TRUE(QDir().mkpath(program));
    CheckFrom(program);
    EXPECT_EQ(Read(program + "/mainappupdate.inf"), kDescription);
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/cache"));
}

}  // namespace
}  // namespace rasp
