#include "platform/browser/BrowserCommand.h"
#include "platform/browser/HttpHandler.h"
#include "tests/online/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rasp {
namespace {

using test::WriteFile;

TEST(BrowserExecutable, WindowsCommandsKeepThePathUpToExe)
{
    EXPECT_EQ(BrowserExecutable(R"("C:\Program Files\Browser\Browser.EXE" -url "%1")"),
              R"(c:\program files\browser\browser.exe)");
    EXPECT_EQ(BrowserExecutable(R"(c:\browser\b.exe %1)"), R"(c:\browser\b.exe)");
    // Only the first ".exe" counts, and every quote goes.
    EXPECT_EQ(BrowserExecutable(R"("C:\a.exe\b.exe" "x")"), R"(c:\a.exe)");
}

TEST(BrowserExecutable, DesktopCommandsKeepTheirFirstWord)
{
    EXPECT_EQ(BrowserExecutable("firefox %u"), "firefox");
    EXPECT_EQ(BrowserExecutable("  /usr/bin/Browser --new-window %U"), "/usr/bin/Browser");
    EXPECT_EQ(BrowserExecutable(R"("/opt/My Browser/run" --url %u)"), "/opt/My Browser/run");
    EXPECT_EQ(BrowserExecutable(R"(/opt/"odd name"/run %u)"), "/opt/odd name/run");
    EXPECT_EQ(BrowserExecutable(R"("/opt/a\\b\"c" %u)"), R"(/opt/a\b"c)");
    EXPECT_EQ(BrowserExecutable("/usr/bin/browser"), "/usr/bin/browser");
    EXPECT_EQ(BrowserExecutable(""), "");
    EXPECT_EQ(BrowserExecutable(" \t "), "");
}

class HttpHandlerLookup : public ::testing::Test {
protected:
    QTemporaryDir root;
    TXdgDirs dirs;

    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        dirs.configHome = Path("config");
        dirs.configDirs = {Path("etc-xdg")};
        dirs.dataHome = Path("data");
        dirs.dataDirs = {Path("share1"), Path("share2")};
    }
    std::filesystem::path Path(const QString& relative) const
    {
        return root.filePath(relative).toStdString();
    }
    void Write(const QString& relative, const QByteArray& content)
    {
        WriteFile(root.filePath(relative), content);
    }
    void Desktop(const QString& relative, const QByteArray& exec, const QByteArray& extra = {})
    {
        Write(relative, "[Desktop Entry]\nType=Application\nName=B\n" + extra + "Exec=" + exec + "\n");
    }
};

TEST_F(HttpHandlerLookup, NothingRegisteredGivesEmpty)
{
    EXPECT_EQ(HttpHandlerCommand(dirs), "");
    Write("config/mimeapps.list", "[Default Applications]\ntext/html=b.desktop\n");
    Desktop("data/applications/b.desktop", "b %u");
    EXPECT_EQ(HttpHandlerCommand(dirs), "");
}

TEST_F(HttpHandlerLookup, DefaultFromTheMostImportantListWithAnInstalledEntry)
{
    Desktop("share2/applications/low.desktop", "low %u");
    Desktop("share1/applications/mid.desktop", "mid %u");
    Desktop("data/applications/high.desktop", R"("/opt/High\sBrowser/run" %u)");
    Write("share1/applications/mimeapps.list",
          "[Default Applications]\nx-scheme-handler/http=low.desktop\n");
    EXPECT_EQ(HttpHandlerCommand(dirs), "low %u");

    Write("etc-xdg/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=mid.desktop\n");
    EXPECT_EQ(HttpHandlerCommand(dirs), "mid %u");

    // Not installed entries are passed over.
    Write("config/mimeapps.list", "# mine\n[Added Associations]\nx-scheme-handler/http=low.desktop;\n"
                                  "[Default Applications]\n"
                                  "x-scheme-handler/http=gone.desktop;high.desktop;\n");
    EXPECT_EQ(DefaultHandler(dirs, "x-scheme-handler/http"), "high.desktop");
    EXPECT_EQ(HttpHandlerCommand(dirs), R"("/opt/High Browser/run" %u)");

    // A desktop's own list comes before the general one.
    dirs.desktops = {"gnome"};
    Write("config/gnome-mimeapps.list", "[Default Applications]\nx-scheme-handler/http=mid.desktop\n");
    EXPECT_EQ(HttpHandlerCommand(dirs), "mid %u");
}

TEST_F(HttpHandlerLookup, HiddenEntriesAndBadIdsAreNotHandlers)
{
    Desktop("data/applications/hidden.desktop", "hidden %u", "Hidden=true\n");
    Desktop("share1/applications/ok.desktop", "ok %u");
    Desktop("data/applications/noexec.desktop", "");
    Write("config/mimeapps.list", "[Default Applications]\n"
                                  "x-scheme-handler/http=hidden.desktop;../x.desktop;noexec.desktop;"
                                  "a/ok.desktop;ok.desktop\n");
    EXPECT_EQ(HttpHandlerCommand(dirs), "ok %u");
}

TEST_F(HttpHandlerLookup, AssociationsAndTheCacheWhenNoDefault)
{
    Desktop("share1/applications/vendor/web.desktop", "web %u");
    Desktop("share1/applications/cached.desktop", "cached %u");
    Write("share2/applications/mimeinfo.cache", "[MIME Cache]\nx-scheme-handler/http=cached.desktop;\n");
    EXPECT_EQ(HttpHandlerCommand(dirs), "cached %u");

    // A vendor folder stands for a dash in the id.
    Write("etc-xdg/mimeapps.list", "[Added Associations]\nx-scheme-handler/http=vendor-web.desktop;\n");
    EXPECT_EQ(HttpHandlerCommand(dirs), "web %u");

    // Removed by a more important list.
    Write("config/mimeapps.list", "[Removed Associations]\n"
                                  "x-scheme-handler/http=vendor-web.desktop;cached.desktop\n");
    EXPECT_EQ(HttpHandlerCommand(dirs), "");
}

} // namespace
} // namespace rasp
