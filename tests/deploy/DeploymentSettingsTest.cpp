#include "app/DeploymentSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace rasp {
namespace {

std::string_view Text(const char* s) { return s; }

TEST(DeploymentSettings, BannersAndLinksAreNumberedByPositionAmongTheConfiguredOnes)
{
    const auto s = ParseDeploymentSettings(Text("\xEF\xBB\xBF[settings]\r\n"
                                                "appname = \"Checker Pro\"\r\n"
                                                "AfiliateID=42\r\n"
                                                "BannerPath2=C:\\art\\two.gif\r\n"
                                                "BannerURL2=http://two\r\n"
                                                "BannerPath3=three.jpg\r\n"
                                                "Link2URL=http://b\r\n"
                                                "Link4URL=http://d\r\n"
                                                "Link4Name=Dee\r\n"
                                                "Link1Name=unused without its URL\r\n"
                                                "IconPath=C:\\icons\\app.ico\r\n"
                                                "[Other]\r\nAppName=elsewhere\r\n"));
    EXPECT_EQ(s.AppName, "Checker Pro");
    EXPECT_EQ(s.AfiliateID, "42");
    EXPECT_EQ(s.IconPath, "C:\\icons\\app.ico");
    ASSERT_EQ(s.Banners.size(), 2u);
    EXPECT_EQ(s.Banners[0].Path, "C:\\art\\two.gif");
    EXPECT_EQ(s.Banners[0].URL, "http://two");
    EXPECT_EQ(s.Banners[1].Path, "three.jpg");
    EXPECT_EQ(s.Banners[1].URL, "");
    EXPECT_EQ(BannerSourceName(0), "dbimg1.dat");
    EXPECT_EQ(BannerSourceName(1), "dbimg2.dat");
    ASSERT_EQ(s.Links.size(), 2u);
    EXPECT_EQ(s.Links[0].URL, "http://b");
    EXPECT_EQ(s.Links[0].Name, "");
    EXPECT_EQ(s.Links[1].Name, "Dee");
}

TEST(DeploymentSettings, TextInUtf8OrLatin1KeepsEveryCharacter)
{
    EXPECT_EQ(ParseDeploymentSettings(Text("[Settings]\nAppName=Pr\xC3\xBC" "fer\n")).AppName, u"Pr\u00FCfer");
    EXPECT_EQ(ParseDeploymentSettings(Text("[Settings]\nAppName=Pr\xFC" "fer\n")).AppName, u"Pr\u00FCfer");
    EXPECT_TRUE(ParseDeploymentSettings(Text("")).Banners.empty());
}

TEST(DeploymentSettings, NamePartDropsFoldersOfEitherSystem)
{
    EXPECT_EQ(NamePart("C:\\icons\\app.ico"), "app.ico");
    EXPECT_EQ(NamePart("/usr/share/app.ico"), "app.ico");
    EXPECT_EQ(NamePart("C:app.ico"), "app.ico");
    EXPECT_EQ(NamePart("..\\..\\etc/passwd"), "passwd");
    EXPECT_EQ(NamePart("app.ico"), "app.ico");
    EXPECT_EQ(NamePart("C:\\icons\\"), "");
}

TEST(DeploymentSettings, TheTwoLinksAreAlwaysDifferentAndEveryPairOccurs)
{
    std::vector<TLinkEntry> links;
    for (int i = 0; i < 4; ++i)
        links.push_back({QStringLiteral("http://l%1").arg(i), QStringLiteral("L%1").arg(i)});
    std::mt19937 random(7);
    std::map<std::pair<QString, QString>, int> seen;
    for (int run = 0; run < 1200; ++run) {
        const auto [a, b] = ChooseLinks(links, random);
        ASSERT_TRUE(a && b);
        ASSERT_NE(a->URL, b->URL);
        ASSERT_EQ(a->Name, QString(a->URL).replace("http://l", "L"));
        ++seen[{a->URL, b->URL}];
    }
    // 12 ordered pairs, each expected 100 times.
    ASSERT_EQ(seen.size(), 12u);
    for (const auto& [pair, count] : seen)
        EXPECT_GT(count, 50) << pair.first.toStdString() << " " << pair.second.toStdString();

    const auto [only, none] = ChooseLinks({links[2]}, random);
    ASSERT_TRUE(only);
    EXPECT_EQ(only->URL, "http://l2");
    EXPECT_FALSE(none);
    const auto [n1, n2] = ChooseLinks({}, random);
    EXPECT_FALSE(n1 || n2);
}

std::string RefusalOf(const std::string& text)
{
    try {
        ParseDeploymentSettings(text);
    } catch (const EDeploymentSettingsError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(DeploymentSettings, OversizedFilesAndValuesAreRefusedWhole)
{
    const std::string head = "[Settings]\r\nAppName=";
    // Values are counted in characters: 4,096 two-byte letters still pass.
    std::string accented;
    for (int k = 0; k < 4096; ++k)
        accented += "\xC3\xA9";
    EXPECT_EQ(ParseDeploymentSettings(head + accented).AppName.size(), 4096);
    EXPECT_EQ(RefusalOf(head + std::string(4097, 'x')), "the value of AppName is longer than 4096 characters (4097)");
    EXPECT_EQ(RefusalOf(head + "x\r\nLink4URL=http://d/\r\nLink4Name=" + std::string(5000, 'y')),
              "the value of Link4Name is longer than 4096 characters (5000)");
    // A long value outside the section, or of a key that is not read, counts
    // only toward the file's size.
    EXPECT_EQ(RefusalOf("[Other]\r\nAppName=" + std::string(100000, 'x') + "\r\n" + head + "Short\r\nLink4Name="
                        + std::string(5000, 'y')),
              "accepted");

    std::string file = head + "Checker\r\n;";
    file.resize(MaxDeploymentSettingsSize, ' ');
    EXPECT_EQ(ParseDeploymentSettings(file).AppName, "Checker");
    EXPECT_EQ(RefusalOf(file + " "), "the file is larger than 1048576 bytes (1048577)");
}

TEST(DeploymentSettings, BannerChoiceCoversEveryConfiguredBanner)
{
    std::set<std::size_t> chosen;
    for (int run = 0; run < 100; ++run) {
        std::mt19937 random = ClockSeededGenerator();
        const std::size_t k = ChooseIndex(3, random);
        ASSERT_LT(k, 3u);
        chosen.insert(k);
    }
    EXPECT_EQ(chosen.size(), 3u);
}

} // namespace
} // namespace rasp
