#include "app/OnlineConstants.h"
#include "app/UpdateChecker.h"
#include "tests/online/TestFiles.h"
#include "tests/online/TestHttpServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace rasp {
namespace {

using test::TAnswer;
using test::TTestHttpServer;

const QString kNoUpdate = "There's no new updates for this application!";
const QString kFailed = "Could not check for updates: ";
const QString kMissing = "The updater module is missing. Please reinstall again the current version!";
const QString kHandOver = "To update your software the application will close to\n\r"
                          "replace some files. Do you want to update now?";
QString Prompt(const QString& version)
{
    return "There is a new update: (version " + version
        + ") available for your application!. Do you want download this update now?";
}

struct TShown {
    QString text;
    TMsgDlgType type;
    std::uint16_t buttons;
    bool operator==(const TShown&) const = default;
};
constexpr std::uint16_t kOk = 4, kOkCancel = 12;

void PrintTo(const TShown& s, std::ostream* os)
{
    *os << "{\"" << s.text.toStdString() << "\", type " << int(s.type) << ", buttons " << s.buttons << "}";
}

class UpdateCheck : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    TTestHttpServer server;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QPointer<TUpdateChecker> checker;
    std::vector<TShown> shown;
    std::deque<int> answers; // given to the boxes in turn; Cancel when used up
    int closeRequests = 0;

    const QString base = server.Url("/liveupdate/tellivo_rasp/");
    const QByteArray infPath = "/liveupdate/tellivo_rasp/mainappupdate.inf";

    void SetUp() override
    {
        ASSERT_TRUE(programDir.isValid());
        checker = new TUpdateChecker( // owned by the window
            window.get(), base, programDir.path(),
            [this](const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) {
                EXPECT_EQ(helpCtx, 0);
                shown.push_back({msg, type, buttons.Bits()});
                if (answers.empty())
                    return mrCancel;
                const int answer = answers.front();
                answers.pop_front();
                return answer;
            },
            [this] {
                ++closeRequests;
                window->close();
            });
    }

    QString Local(const QString& name) const { return QDir(programDir.path()).filePath(name); }
    QString Inf() const { return Local("mainappupdate.inf"); }
    QString Record() const { return Local("updater-args.txt"); }

    void ServeVersion(const QByteArray& version)
    {
        server.SetOk(infPath, "[APPLICATION]\r\nName=Tellivo Rasp\r\nVersion=" + version + "\r\n");
    }
    void InstallUpdater(bool executable = true)
    {
        test::WriteFile(Local("Updater"), test::RecordingScript(Record()), executable);
    }
    // Runs a check from the event loop, as the timer and the button do.
    void RunFromEventLoop(bool silent, std::function<void()> meanwhile, int after = 100)
    {
        bool finished = false;
        QTimer::singleShot(0, [&] {
            if (checker)
                checker->CheckForUpdates(silent);
            finished = true;
        });
        QTimer::singleShot(after, meanwhile);
        while (!finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
};

TEST_F(UpdateCheck, SameOrOlderVersionIsNoUpdateAndAnUnreadableOneAFailedCheck)
{
    for (const QByteArray version : {"1.01", "1.010000001", " 1.00 ", "0.5", "0"}) {
        ServeVersion(version);
        shown.clear();
        checker->CheckForUpdates(false);
        EXPECT_EQ(shown, (std::vector<TShown>{{kNoUpdate, mtInformation, kOk}})) << version.data();
        shown.clear();
        checker->CheckForUpdates(true);
        EXPECT_TRUE(shown.empty()) << version.data();
    }
    // An answer that holds no version number says nothing about updates.
    const TShown noNumber{kFailed + "the server's answer holds no version number.", mtWarning, kOk};
    // A version of 65 characters is none, though it would read as 2.
    const QByteArray overlong = "2." + QByteArray(63, '0');
    for (const QByteArray version : {"abc", "1,02", "", "inf", "nan", "1e100", "0x2", overlong.constData(), "1.02 beta"}) {
        ServeVersion(version);
        shown.clear();
        checker->CheckForUpdates(false);
        EXPECT_EQ(shown, std::vector<TShown>{noNumber}) << version.data();
        shown.clear();
        checker->CheckForUpdates(true);
        EXPECT_TRUE(shown.empty()) << version.data();
    }
    // The description stays in the program folder after the check.
    EXPECT_EQ(test::ReadFile(Inf()), "[APPLICATION]\r\nName=Tellivo Rasp\r\nVersion=1.02 beta\r\n");
    server.SetOk(infPath, "[OTHER]\r\nVersion=9\r\n");
    checker->CheckForUpdates(false);
    EXPECT_EQ(shown.back(), noNumber);
    EXPECT_EQ(closeRequests, 0);
}

TEST_F(UpdateCheck, NewerVersionIsOfferedEvenInSilentModeAndCancelStopsThere)
{
    InstallUpdater();
    ServeVersion("2." + QByteArray(62, '0'));
    checker->CheckForUpdates(true);
    EXPECT_EQ(shown, (std::vector<TShown>{{Prompt("2." + QString(62, u'0')), mtInformation, kOkCancel}}));
    shown.clear();
    ServeVersion("2");
    checker->CheckForUpdates(true);
    EXPECT_EQ(shown, (std::vector<TShown>{{Prompt("2"), mtInformation, kOkCancel}}));
    EXPECT_EQ(closeRequests, 0);
    QThread::msleep(100);
    EXPECT_FALSE(QFileInfo::exists(Record()));
    // The redirected request still reaches the file; the text is shown as read.
    server.Set("/liveupdate/tellivo_rasp/mainappupdate.inf",
               {"HTTP/1.1 301 Moved\r\nLocation: /files/update.inf\r\nContent-Length: 0\r\n\r\n"});
    server.SetOk("/files/update.inf", "[Application]\nversion = 1.0200 \n");
    shown.clear();
    checker->CheckForUpdates(false);
    EXPECT_EQ(shown, (std::vector<TShown>{{Prompt("1.0200"), mtInformation, kOkCancel}}));
}

TEST_F(UpdateCheck, AgreeingTwiceStartsTheUpdaterAndClosesTheWindow)
{
    InstallUpdater();
    ServeVersion("1.02");
    window->show();
    answers = {mrOk, mrOk};
    checker->CheckForUpdates(true);
    EXPECT_EQ(shown, (std::vector<TShown>{{Prompt("1.02"), mtInformation, kOkCancel},
                                          {kHandOver, mtInformation, kOkCancel}}));
    EXPECT_EQ(closeRequests, 1);
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(test::WaitForFile(Record()));
    EXPECT_EQ(test::ReadFile(Record()), (base + "\n1.00999999046326\nA\n").toLocal8Bit());
    EXPECT_EQ(checker->UpdaterArguments(),
              (QStringList{base, "1.00999999046326", "A"}));
}

TEST_F(UpdateCheck, CancelOrMissingUpdaterKeepsTheProgramRunning)
{
    ServeVersion("1.02");
    // No updater: the warning, and no second question.
    answers = {mrOk};
    checker->CheckForUpdates(false);
    EXPECT_EQ(shown, (std::vector<TShown>{{Prompt("1.02"), mtInformation, kOkCancel},
                                          {kMissing, mtWarning, kOk}}));
    // A folder of that name is no updater either.
    QDir(programDir.path()).mkdir("Updater");
    shown.clear();
    answers = {mrOk};
    checker->CheckForUpdates(false);
    EXPECT_EQ(shown.back(), (TShown{kMissing, mtWarning, kOk}));
    QDir(programDir.path()).rmdir("Updater");

    // Cancel in the second question.
    InstallUpdater();
    shown.clear();
    answers = {mrOk, mrCancel};
    checker->CheckForUpdates(false);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown.back(), (TShown{kHandOver, mtInformation, kOkCancel}));

    // An updater that cannot be started is reported instead of closing.
    InstallUpdater(false);
    QFile(Local("Updater")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    shown.clear();
    answers = {mrOk, mrOk};
    checker->CheckForUpdates(false);
    EXPECT_EQ(shown.back(), (TShown{kMissing, mtWarning, kOk}));
    EXPECT_EQ(closeRequests, 0);
    QThread::msleep(100);
    EXPECT_FALSE(QFileInfo::exists(Record()));
}

TEST_F(UpdateCheck, FailedDownloadsLeaveNoFileAndAreNoUpdate)
{
    // A stale description from an earlier check must not count.
    test::WriteFile(Inf(), "[APPLICATION]\r\nVersion=9\r\n");
    struct TCase {
        const char* name;
        TAnswer answer;
        const char* reason;
    };
    const TCase cases[] = {
        {"404", {"HTTP/1.1 404 Not Found\r\nContent-Length: 23\r\n\r\n[APPLICATION]\nVersion=9"},
         "the server answered with status 404."},
        {"cut", {"HTTP/1.1 200 OK\r\nContent-Length: 500\r\nConnection: close\r\n\r\n[APPLICATION]\r\nVersion=9\r\n"},
         "the connection closed before the answer was complete."},
        {"garbage", {"\x16\x03\x01 not http\r\n\r\n"}, "the server's answer is not HTTP."},
        {"oversized", {TTestHttpServer::Ok("[APPLICATION]\r\nVersion=9\r\n" + QByteArray(100000, ';'))},
         "the answer is larger than 65536 bytes."},
    };
    for (const auto& c : cases) {
        server.Set(infPath, c.answer);
        shown.clear();
        // A failed check is not an up-to-date program: the button says why.
        checker->CheckForUpdates(false);
        EXPECT_EQ(shown, (std::vector<TShown>{{kFailed + c.reason, mtWarning, kOk}})) << c.name;
        EXPECT_FALSE(QFileInfo::exists(Inf())) << c.name;
        shown.clear();
        checker->CheckForUpdates(true);
        EXPECT_TRUE(shown.empty()) << c.name;
    }
}

TEST_F(UpdateCheck, UnreachableServerIsSilentAtStartUp)
{
    auto* offline = new TUpdateChecker(
        window.get(), QStringLiteral("http://127.0.0.1:%1/liveupdate/tellivo_rasp/").arg(TTestHttpServer::ClosedPort()),
        programDir.path(),
        [this](const QString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int) {
            shown.push_back({msg, type, buttons.Bits()});
            return mrOk;
        },
        [] {});
    offline->CheckForUpdates(true);
    EXPECT_TRUE(shown.empty());
    offline->CheckForUpdates(false);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].type, mtWarning);
    EXPECT_EQ(shown[0].text, kFailed + "connection refused.");
    EXPECT_FALSE(QFileInfo::exists(Inf()));
}

TEST_F(UpdateCheck, UnwritableProgramFolderIsAFailedCheckNotACrash)
{
    ServeVersion("2");
    QDir(programDir.path()).mkpath("mainappupdate.inf/inside");
    checker->CheckForUpdates(false);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].type, mtWarning);
    EXPECT_TRUE(shown[0].text.startsWith(kFailed + "the update description cannot be stored: "))
        << shown[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(Inf()).isDir());
}

TEST_F(UpdateCheck, ClosingTheWindowDuringAHangingCheckAbandonsItQuietly)
{
    server.Set(infPath, {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n[APPLICATION]", true});
    window->show();
    for (const bool silent : {true, false}) {
        window->show();
        RunFromEventLoop(silent, [this] { window->close(); });
        EXPECT_TRUE(shown.empty());
        EXPECT_FALSE(checker->Checking());
        EXPECT_FALSE(QFileInfo::exists(Inf()));
    }
    // The checker still works afterwards.
    ServeVersion("1.01");
    checker->CheckForUpdates(false);
    EXPECT_EQ(shown, (std::vector<TShown>{{kNoUpdate, mtInformation, kOk}}));
}

TEST_F(UpdateCheck, DestroyingTheWindowDuringAHangingCheckIsSafe)
{
    server.Set(infPath, {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n[APPLICATION]", true});
    // Closed with delete-on-close: the check is abandoned, then the window goes.
    QWidget* closing = window.release();
    closing->setAttribute(Qt::WA_DeleteOnClose);
    closing->show();
    RunFromEventLoop(false, [closing] { closing->close(); });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(checker.isNull());
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(QFileInfo::exists(Inf()));

    // Deleted outright inside the wait.
    window = std::make_unique<QWidget>();
    SetUp();
    RunFromEventLoop(true, [this] { window.reset(); });
    EXPECT_TRUE(checker.isNull());
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(QFileInfo::exists(Inf()));
}

TEST_F(UpdateCheck, QuittingDuringAHangingCheckShowsNothing)
{
    server.Set(infPath, {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n[APPLICATION]", true});
    QTimer::singleShot(0, [this] { checker->CheckForUpdates(false); });
    QTimer::singleShot(100, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(checker->Checking());
    EXPECT_FALSE(QFileInfo::exists(Inf()));
}

TEST_F(UpdateCheck, AClickDuringTheSilentCheckMakesItAnnounceItsOutcome)
{
    server.Set(infPath, {TTestHttpServer::Ok("[APPLICATION]\r\nVersion=1.01\r\n"), false, 300});
    RunFromEventLoop(true, [this] { checker->CheckForUpdates(false); }, 50);
    EXPECT_EQ(shown, (std::vector<TShown>{{kNoUpdate, mtInformation, kOk}}));
    EXPECT_EQ(server.Requests().size(), 1);
}

} // namespace
} // namespace rasp
