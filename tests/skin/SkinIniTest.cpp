// The description syntax: line ends, trimming, comments, case of names.

#include "skin/bsSkinIni.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinIni, LinesSectionsAndKeys) {
  const std::string text =
      "stray=before any section\r\n"
      "  [Version]  \r\n"
      "skinName = Light  \n"
      "; skinauthor=commented out\r"
      "\x01\tskinauthor=Tellivo=Team\t\r\n"
      "no equals sign here\n"
      "\n"
      "[ FORMINFO ]\r\n"
      "ClientRect=8,25,130,86\r\n"
      "clientrect=1,1,1,1\r\n"
      "[broken\r\n"
      "[]\r\n"
      "x=in the empty-named section\r\n";
  const TbsSkinIni ini = TbsSkinIni::Parse(text);
  EXPECT_EQ(ini.ReadString("VERSION", "skinname", "?"), "Light");
  EXPECT_EQ(ini.ReadString("version", "SKINAUTHOR", "?"), "Tellivo=Team");
  EXPECT_FALSE(ini.ValueExists("VERSION", "; skinauthor"));
  EXPECT_EQ(ini.ReadString("forminfo", "clientrect", "?"), "8,25,130,86");  // first one wins
  EXPECT_FALSE(ini.ValueExists("FORMINFO", "stray"));
  EXPECT_EQ(ini.ReadString("FORMINFO", "[broken", "?"), "?");
  EXPECT_EQ(ini.ReadString("", "x", "?"), "in the empty-named section");
  EXPECT_EQ(ini.Keys("Version"), (std::vector<std::string>{"skinName", "skinauthor"}));
}

TEST(SkinIni, WrittenTextParsesBackIdentically) {
  TbsSkinIni ini;
  ini.WriteString("VERSION", "skinname", "Tellivo Light");
  ini.WriteString("FORMINFO", "clientrect", "8,25,130,86");
  ini.WriteString("version", "SkinName", "replaced");
  ini.WriteString("SKINOBJECTS", "count", "0");
  const std::string text = ini.ToText();
  EXPECT_EQ(text,
            "[VERSION]\r\nskinname=replaced\r\n\r\n[FORMINFO]\r\nclientrect=8,25,130,86\r\n"
            "\r\n[SKINOBJECTS]\r\ncount=0\r\n");
  EXPECT_EQ(TbsSkinIni::Parse(text).ToText(), text);
}

}  // namespace
