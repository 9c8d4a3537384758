#include "platform/ini/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace rasp {
namespace {

TEST(IniValue, NamesMatchWithoutRegardToCase)
{
    const std::string ini = "[Settings]\nAppName=Checker\n[APPLICATION]\nVersion=1.02\n";
    EXPECT_EQ(ReadIniValue(ini, "settings", "APPNAME"), "Checker");
    EXPECT_EQ(ReadIniValue(ini, "Application", "version"), "1.02");
    // A key of another section is not found.
    EXPECT_EQ(ReadIniValue(ini, "Settings", "Version"), "");
}

TEST(IniValue, MissingSectionOrKeyReadsEmpty)
{
    const std::string ini = "[A]\nx=1\n";
    EXPECT_EQ(ReadIniValue(ini, "B", "x"), "");
    EXPECT_EQ(ReadIniValue(ini, "A", "y"), "");
    EXPECT_EQ(ReadIniValue("", "A", "x"), "");
    // Keys before the first section belong to no section.
    EXPECT_EQ(ReadIniValue("x=0\n[A]\n", "A", "x"), "");
}

TEST(IniValue, ValueIsRestOfLineAfterFirstEquals)
{
    const std::string ini = "[S]\n"
                            "  Url  =   http://h/p?a=b&c=d   \n"
                            "Quoted=\"  padded  \"\n"
                            "Twice=\"\"x\"\"\n"
                            "Half=\"open\n"
                            "Lone=\"\n"
                            "Path=C:\\new\\table\n"
                            "Empty=\n"
                            "Tabs=\tv\t\n";
    EXPECT_EQ(ReadIniValue(ini, "S", "Url"), "http://h/p?a=b&c=d");
    EXPECT_EQ(ReadIniValue(ini, "S", "Quoted"), "  padded  ");
    EXPECT_EQ(ReadIniValue(ini, "S", "Twice"), "\"x\"");   // only one pair dropped
    EXPECT_EQ(ReadIniValue(ini, "S", "Half"), "\"open"); // unbalanced quote kept
    EXPECT_EQ(ReadIniValue(ini, "S", "Lone"), "\"");
    EXPECT_EQ(ReadIniValue(ini, "S", "Path"), "C:\\new\\table"); // no escapes
    EXPECT_EQ(ReadIniValue(ini, "S", "Empty"), "");
    EXPECT_EQ(ReadIniValue(ini, "S", "Tabs"), "v");
}

TEST(IniValue, LineEndingsAndByteOrderMark)
{
    for (const std::string& ini : {std::string("[S]\r\nk=v\r\nz=w\r\n"), std::string("[S]\nk=v\nz=w"),
                                  std::string("\xEF\xBB\xBF[S]\r\nk=v\r\nz=w"),
                                  std::string("\xEF\xBB\xBF[S]\nk=v\nz=w\n")}) {
        EXPECT_EQ(ReadIniValue(ini, "S", "k"), "v") << ini;
        EXPECT_EQ(ReadIniValue(ini, "S", "z"), "w") << ini;
    }
}

TEST(IniValue, FirstOccurrenceWinsAndCommentsAreSkipped)
{
    const std::string ini = "[S]\n;k=comment\nk=first\nk=second\nno equals sign\n[s]\nk=other\n";
    EXPECT_EQ(ReadIniValue(ini, "S", "k"), "first");
    EXPECT_EQ(ReadIniValue("[S]\n[ S ]\nk=2\n", "S", "k"), "");
    EXPECT_EQ(ReadIniValue("[ S ]\nk=2\n", "s", "k"), "2");
    EXPECT_EQ(ReadIniValue("[S\nk=2\n", "S", "k"), "");
    // Non-ASCII bytes pass through untouched.
    EXPECT_EQ(ReadIniValue("[S]\nt=Gr\xC3\xBC\xC3\x9F\xFF\n", "S", "t"), "Gr\xC3\xBC\xC3\x9F\xFF");
}

TEST(IniFile, ReadsFromDiskAndMissingFileReadsEmpty)
{
    const auto dir = std::filesystem::temp_directory_path() / ("rasp_ini_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "mainappupdate.inf";
    {
        std::ofstream out(file, std::ios::binary);
        out << "\xEF\xBB\xBF[APPLICATION]\r\nName=Tellivo Rasp\r\nVersion=1.02\r\n";
    }
    EXPECT_EQ(ReadIniString(file, "APPLICATION", "Version"), "1.02");
    EXPECT_EQ(ReadIniString(file, "application", "Name"), "Tellivo Rasp");
    EXPECT_EQ(ReadIniString(dir / "absent.inf", "APPLICATION", "Version"), "");
    EXPECT_EQ(ReadIniString(dir, "APPLICATION", "Version"), ""); // a folder, not a file
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace rasp
