#include "app/UUtils.h"
#include "tests/online/TestFiles.h"

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
