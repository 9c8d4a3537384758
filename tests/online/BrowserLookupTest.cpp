#include "platform/browser/DesktopExec.h"
#include "platform/browser/HttpHandler.h"
#include "tests/online/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rasp {
namespace {

using test::WriteFile;

std::vector<std::string> Expand(const std::string& exec, const TDesktopEntry& keys = {})
{
    TDesktopEntry entry = keys;
    entry.exec = exec;
    return ExpandDesktopExec(entry, "http://h/p?a=1&b=%41").value_or(std::vector<std::string>{"<malformed>"});
}

using Args = std::vector<std::string>;
const std::string kUrl = "http://h/p?a=1&b=%41";

TEST(DesktopExec, UrlFieldCodesBecomeTheUrl)
{
    EXPECT_EQ(Expand("firefox %u"), (Args{"firefox", kUrl}));
    EXPECT_EQ(Expand("  /usr/bin/Browser --new-window %U  "), (Args{"/usr/bin/Browser", "--new-window", kUrl}));
    EXPECT_EQ(Expand("b %f"), (Args{"b", kUrl}));
    EXPECT_EQ(Expand("b --url=%F"), (Args{"b", "--url=" + kUrl}));
    // One URL only: a second code has nothing left to stand for.
    EXPECT_EQ(Expand("b %u %U"), (Args{"b", kUrl}));
    // Without a code the URL goes last, as every launcher does it.
    EXPECT_EQ(Expand("/usr/bin/browser"), (Args{"/usr/bin/browser", kUrl}));
    // The snap and flatpak forms.
    EXPECT_EQ(Expand("env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/b.desktop /snap/bin/b %U"),
              (Args{"env", "BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/b.desktop", "/snap/bin/b", kUrl}));
    EXPECT_EQ(Expand("/usr/bin/flatpak run --branch=stable --arch=x86_64 --command=b --file-forwarding "
                     "org.example.B @@u %u @@"),
              (Args{"/usr/bin/flatpak", "run", "--branch=stable", "--arch=x86_64", "--command=b",
                    "--file-forwarding", "org.example.B", "@@u", kUrl, "@@"}));
}

TEST(DesktopExec, QuotingAndEscapes)
{
    EXPECT_EQ(Expand(R"("/opt/My Browser/run" --url %u)"), (Args{"/opt/My Browser/run", "--url", kUrl}));
    EXPECT_EQ(Expand(R"(/opt/"odd name"/run %u)"), (Args{"/opt/odd name/run", kUrl}));
    // Inside quotes \\ \" \` \$ are escapes; other backslashes stay.
    EXPECT_EQ(Expand(R"("/opt/a\\b\"c" "\$HOME\`x\`" "a\nb" %u)"),
              (Args{R"(/opt/a\b"c)", "$HOME`x`", R"(a\nb)", kUrl}));
    // Reserved characters are only text: no shell ever reads the line.
    EXPECT_EQ(Expand("b $(touch x) ';' > out %u"), (Args{"b", "$(touch", "x)", "';'", ">", "out", kUrl}));
    // An empty quoted argument is an argument.
    EXPECT_EQ(Expand(R"(b "" %u)"), (Args{"b", "", kUrl}));
    // Codes inside quotes are not codes; the URL then goes last.
    EXPECT_EQ(Expand(R"(sh -c "b %u")"), (Args{"sh", "-c", "b %u", kUrl}));
    // Malformed lines run nothing.
    EXPECT_EQ(Expand(R"("/opt/b %u)"), (Args{"<malformed>"}));
    EXPECT_EQ(Expand(""), (Args{"<malformed>"}));
    EXPECT_EQ(Expand(" \t "), (Args{"<malformed>"}));
    EXPECT_EQ(Expand(R"("" %u)"), (Args{"<malformed>"}));
    // The program never comes from a field code.
    EXPECT_EQ(Expand("%u"), (Args{"<malformed>"}));
    EXPECT_EQ(Expand("%k --x"), (Args{"<malformed>"}));
    EXPECT_EQ(Expand("a%u"), (Args{"<malformed>"}));
}

TEST(DesktopExec, OtherFieldCodes)
{
    TDesktopEntry keys;
    keys.icon = "web-browser";
    keys.name = "My Browser";
    keys.file = "/usr/share/applications/b.desktop";
    EXPECT_EQ(Expand("b %i --class=%c %k %u", keys),
              (Args{"b", "--icon", "web-browser", "--class=My Browser", keys.file, kUrl}));
    // No icon: %i gives no argument at all.
    EXPECT_EQ(Expand("b %i %u"), (Args{"b", kUrl}));
    // %% is a percent sign; deprecated and unknown codes go, and with them an
    // argument made of nothing else.
    EXPECT_EQ(Expand("b 100%% %d %D %n %N %v %m %x --a=%d %u"), (Args{"b", "100%", "--a=", kUrl}));
    // A lone percent sign at the end stays.
    EXPECT_EQ(Expand("b %u 5%"), (Args{"b", kUrl, "5%"}));
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
    Desktop("data/applications/high.desktop", R"("/opt/High\sBrowser/run" %u)", "Icon=hi\\sicon\n");
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
    const auto entry = HttpHandlerEntry(dirs);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->icon, "hi icon");
    EXPECT_EQ(entry->name, "B");
    EXPECT_EQ(entry->file, Path("data/applications/high.desktop").string());

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
