#include "app/UUtils.h"
#include "tests/online/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>


namespace rasp {
namespace {

using test::ReadFile;
using test::WriteFile;

// Points every XDG variable at folders of a temporary root for one test.
class FakeDesktop : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString record;
    test::TScopedEnv env;

    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        record = root.filePath("browser-args.txt");
        env.Set("XDG_CONFIG_HOME", root.filePath("config"));
        env.Set("XDG_CONFIG_DIRS", root.filePath("etc-xdg"));
        env.Set("XDG_DATA_HOME", root.filePath("data"));
        env.Set("XDG_DATA_DIRS", root.filePath("share"));
        env.Set("XDG_CURRENT_DESKTOP", "");
    }
    void RegisterBrowser() { test::InstallFakeBrowser(env, root.path(), record); }
};

TEST_F(FakeDesktop, StartsTheRegisteredBrowserWithTheUrlAsItsOnlyArgument)
{
    RegisterBrowser();
    const QString url = "http://127.0.0.1:9/page?a=1&b='2' $(touch x);ok";
    EXPECT_TRUE(OpenURL(url));
    ASSERT_TRUE(test::WaitForFile(record));
    EXPECT_EQ(ReadFile(record), url.toLocal8Bit() + "\n");
}

// The Exec line runs as written, field codes expanded, without a shell.
class FakeEntry : public FakeDesktop {
protected:
    QString Script(const char* name, const QByteArray& before = {})
    {
        const QString path = root.filePath(QString("bin/") + name);
        const QByteArray target = record.toLocal8Bit();
        WriteFile(path,
                  "#!/bin/sh\n{ " + before + "for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + target
                      + ".part'\nmv '" + target + ".part' '" + target + "'\n",
                  true);
        return path;
    }
    void Register(const QByteArray& exec, const QByteArray& extra = {})
    {
        WriteFile(root.filePath("data/applications/web.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Web Browser\n" + extra + "Exec=" + exec + "\n");
        WriteFile(root.filePath("config/mimeapps.list"),
                  "[Default Applications]\nx-scheme-handler/http=web.desktop\n");
    }
    QByteArray Opened(const QString& url)
    {
        EXPECT_TRUE(OpenURL(url));
        EXPECT_TRUE(test::WaitForFile(record));
        return ReadFile(record);
    }
    static QByteArray Q(const QString& path) { return "\"" + path.toLocal8Bit() + "\""; }
};

TEST_F(FakeEntry, TheSnapFormRunsEnvWithItsVariable)
{
    const QString browser = Script("browser", "printf 'hint=%s\\n' \"$RASP_HINT\"; ");
    Register("env \"RASP_HINT=/var/lib/snapd/web.desktop x\" " + Q(browser) + " %U");
    EXPECT_EQ(Opened("http://127.0.0.1:9/a b"), "hint=/var/lib/snapd/web.desktop x\nhttp://127.0.0.1:9/a b\n");
}

TEST_F(FakeEntry, TheFlatpakFormGetsItsWholeCommandLine)
{
    const QString flatpak = Script("flatpak");
    Register(Q(flatpak) + " run --branch=stable --arch=x86_64 --command=browser --file-forwarding "
                          "org.example.Browser @@u %u @@");
    EXPECT_EQ(Opened("http://127.0.0.1:9/"),
              "run\n--branch=stable\n--arch=x86_64\n--command=browser\n--file-forwarding\n"
              "org.example.Browser\n@@u\nhttp://127.0.0.1:9/\n@@\n");
}

TEST_F(FakeEntry, QuotingEscapesAndFieldCodes)
{
    const QString browser = Script("my browser");
    // The string escapes of the file are resolved first, then the Exec quoting.
    Register(Q(browser) + R"( --title "say \\"hi\\" \\\\ \\$HOME" %i --class=%c %k 100%% %d %f)",
             "Icon=web\\sicon\n");
    const QString url = "http://127.0.0.1:9/?q='x' $(touch y);z";
    EXPECT_EQ(Opened(url), "--title\nsay \"hi\" \\ $HOME\n--icon\nweb icon\n--class=Web Browser\n"
                               + root.filePath("data/applications/web.desktop").toLocal8Bit()
                               + "\n100%\n" + url.toLocal8Bit() + "\n");
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("y")));
}

TEST_F(FakeEntry, AMalformedExecLineStartsNothing)
{
    Register(Q(Script("browser")).chopped(1) + " %u");
    EXPECT_FALSE(OpenURL("http://127.0.0.1/"));
    Register("%u");
    EXPECT_FALSE(OpenURL("http://127.0.0.1/"));
    QThread::msleep(200);
    EXPECT_FALSE(QFileInfo::exists(record));
}

TEST_F(FakeDesktop, NoRegisteredBrowserStartsNothing)
{
    EXPECT_FALSE(OpenURL("http://127.0.0.1/"));
    // Registered for another type only.
    WriteFile(root.filePath("data/applications/fake.desktop"),
              "[Desktop Entry]\nExec=/bin/true %u\n");
    WriteFile(root.filePath("config/mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/https=fake.desktop\n");
    EXPECT_FALSE(OpenURL("http://127.0.0.1/"));
}

TEST_F(FakeDesktop, AnAddressThatLooksLikeAnOptionIsRefused)
{
    RegisterBrowser();
    EXPECT_FALSE(OpenURL("--remote-debugging-port=9"));
    EXPECT_FALSE(OpenURL(""));
    QThread::msleep(200);
    EXPECT_FALSE(QFileInfo::exists(record));
}

TEST_F(FakeDesktop, AMissingBrowserProgramIsNotDetected)
{
    WriteFile(root.filePath("data/applications/gone.desktop"),
              "[Desktop Entry]\nExec=/nonexistent/browser %u\n");
    WriteFile(root.filePath("config/mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/http=gone.desktop\n");
    EXPECT_TRUE(OpenURL("http://127.0.0.1/"));
}

} // namespace
} // namespace rasp
