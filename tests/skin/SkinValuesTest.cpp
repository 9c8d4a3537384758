// The value readers of a skin description, quirks included, as one table each.

#include "skin/bsSkinError.h"
#include "skin/bsSkinValues.h"

#include <gtest/gtest.h>

namespace {

TbsSkinIni OneKey(const std::string& value) {
  return TbsSkinIni::Parse("[S]\r\nk=" + value + "\r\n");
}

TEST(SkinValues, RectangleDropsEverythingButDigits) {
  struct Case { const char* text; TbsRect want; };
  const Case cases[] = {
      {"1,22,68,42", {1, 22, 68, 42}},
      {"1, 22 ,68,42", {1, 22, 68, 42}},
      {"-5,3,+7,x8", {5, 3, 7, 8}},
      {"0,0,0,0", {0, 0, 0, 0}},
      {"1,2,3,4,5", {1, 2, 3, 4}},        // fields past the fourth mean nothing
      {"1 2,3,4,5", {12, 3, 4, 5}},       // a blank inside a field is dropped too
      {"$10,0x1F,3,4", {10, 1, 3, 4}},    // no hexadecimal: only the digits stay
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadRect(OneKey(c.text), "S", "k"), c.want) << c.text;
  }
  EXPECT_EQ(ReadRect(OneKey("1,2,3,4"), "S", "missing"), TbsRect{});
}

TEST(SkinValues, RectangleWithoutDigitsIsAConversionError) {
  for (const char* bad : {"", "1,2,3", "1,2,,4", "a,b,c,d", "1,2,3,-", "99999999999,1,2,3"}) {
    try {
      ReadRect(OneKey(bad), "S", "k");
      ADD_FAILURE() << "accepted \"" << bad << "\"";
    } catch (const ESkinError& e) {
      EXPECT_NE(std::string(e.what()).find("[S] k"), std::string::npos) << e.what();
    }
  }
}

TEST(SkinValues, PointDropsTheSign) {
  EXPECT_EQ(ReadPoint(OneKey("-5,3"), "S", "k"), (TbsPoint{5, 3}));
  EXPECT_EQ(ReadPoint(OneKey(" 7 , 9 "), "S", "k"), (TbsPoint{7, 9}));
  EXPECT_EQ(ReadPoint(OneKey("1,2,3"), "S", "k"), (TbsPoint{1, 2}));
  EXPECT_EQ(ReadPoint(OneKey("0,0"), "S", "missing"), (TbsPoint{}));
  EXPECT_THROW(ReadPoint(OneKey("5"), "S", "k"), ESkinError);
  EXPECT_THROW(ReadPoint(OneKey("5,"), "S", "k"), ESkinError);
}

TEST(SkinValues, IntegerColourAndBoolean) {
  struct Case { const char* text; int want; };
  const Case ints[] = {
      {"42", 42}, {"-7", -7}, {"+3", 3}, {"$1F", 31}, {"0x1f", 31}, {"0X10", 16},
      {"$FFFFFFFF", -1}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"2147483648", -99}, {"12a", -99}, {"", -99}, {"$", -99}, {"1.5", -99}, {"$123456789", -99},
  };
  for (const Case& c : ints) EXPECT_EQ(ReadInteger(OneKey(c.text), "S", "k", -99), c.want) << c.text;
  EXPECT_EQ(ReadInteger(OneKey("1"), "S", "missing", 14), 14);

  EXPECT_EQ(ReadColor(OneKey("12632256"), "S", "k", 0), bsRGB(192, 192, 192));
  EXPECT_EQ(ReadColor(OneKey("16777215"), "S", "k", 0), bsRGB(255, 255, 255));
  EXPECT_EQ(ReadColor(OneKey("$FF"), "S", "k", 0), bsRGB(255, 0, 0));
  EXPECT_EQ(ReadColor(OneKey("grey"), "S", "k", 16711680), 16711680u);

  struct BoolCase { const char* text; bool want; };
  const BoolCase bools[] = {{"1", true}, {"$1", true}, {"01", true}, {"2", false},
                            {"0", false}, {"true", false}, {"-1", false}};
  for (const BoolCase& c : bools) EXPECT_EQ(ReadBoolean(OneKey(c.text), "S", "k"), c.want) << c.text;
  EXPECT_FALSE(ReadBoolean(OneKey("1"), "S", "missing"));
}

TEST(SkinValues, KeywordsAreCaseSensitiveWithTheirFallbacks) {
  EXPECT_EQ(ReadFontStyles(OneKey("fsBold"), "S", "k"), 0u);
  EXPECT_EQ(ReadFontStyles(OneKey("fsbold,fsunderline"), "S", "k"), unsigned(fsBold | fsUnderline));
  EXPECT_EQ(ReadFontStyles(OneKey("[fsitalic] fsstrikeout"), "S", "k"),
            unsigned(fsItalic | fsStrikeOut));
  EXPECT_EQ(ReadFontStyles(OneKey("fsbold"), "S", "missing"), 0u);

  using A = TbsAlignment;
  EXPECT_EQ(ReadAlignment(OneKey("taleftjustify"), "S", "k"), A::taLeftJustify);
  EXPECT_EQ(ReadAlignment(OneKey("tacenter"), "S", "k"), A::taCenter);
  EXPECT_EQ(ReadAlignment(OneKey("tarightjustify"), "S", "k"), A::taRightJustify);
  EXPECT_EQ(ReadAlignment(OneKey("middle"), "S", "k"), A::taRightJustify);
  EXPECT_EQ(ReadAlignment(OneKey("taCenter"), "S", "k"), A::taRightJustify);
  EXPECT_EQ(ReadAlignment(OneKey("x"), "S", "missing"), A::taCenter);

  using M = TbsMorphKind;
  const std::pair<const char*, M> morphs[] = {
      {"mkdefault", M::mkDefault}, {"mkgradient", M::mkGradient},
      {"mkleftgradient", M::mkLeftGradient}, {"mkrightgradient", M::mkRightGradient},
      {"mkleftslide", M::mkLeftSlide}, {"mkrightslide", M::mkRightSlide},
      {"mkpush", M::mkPush}, {"mkGradient", M::mkDefault}, {"fade", M::mkDefault}};
  for (auto [text, want] : morphs) EXPECT_EQ(ReadMorphKind(OneKey(text), "S", "k"), want) << text;
  EXPECT_EQ(ReadMorphKind(OneKey("mkpush"), "S", "missing"), M::mkDefault);

  using E = TbsEffect;
  const std::pair<const char*, E> effects[] = {
      {"iebrightness", E::ieBrightness}, {"iedarkness", E::ieDarkness},
      {"iegrayscale", E::ieGrayScale}, {"ienoise", E::ieNoise},
      {"iesplitblur", E::ieSplitBlur}, {"ieinvert", E::ieInvert}, {"sepia", E::ieGrayScale}};
  for (auto [text, want] : effects) EXPECT_EQ(ReadEffect(OneKey(text), "S", "k"), want) << text;
  EXPECT_EQ(ReadEffect(OneKey("ieinvert"), "S", "missing"), E::ieBrightness);

  using K = TbsCommand;
  const std::pair<const char*, K> commands[] = {
      {"cmclose", K::cmClose}, {"cmmaximize", K::cmMaximize}, {"cmminimize", K::cmMinimize},
      {"cmsysmenu", K::cmSysMenu}, {"cmdefault", K::cmDefault}, {"cmrollup", K::cmRollUp},
      {"cmminimizetotray", K::cmMinimizeToTray}, {"cmhelp", K::cmMinimizeToTray},
      {"cmClose", K::cmMinimizeToTray}};
  for (auto [text, want] : commands) EXPECT_EQ(ReadCommand(OneKey(text), "S", "k"), want) << text;
  EXPECT_EQ(ReadCommand(OneKey("cmclose"), "S", "missing"), K::cmDefault);
}

TEST(SkinValues, WritersProduceWhatTheReadersTakeBack) {
  EXPECT_EQ(bsRectToStr({1, 22, 68, 42}), "1,22,68,42");
  EXPECT_EQ(bsPointToStr({5, 3}), "5,3");
  EXPECT_EQ(bsFontStylesToStr(fsBold | fsUnderline), "fsbold,fsunderline");
  EXPECT_EQ(bsAlignmentToStr(TbsAlignment::taRightJustify), "tarightjustify");
  EXPECT_EQ(bsCommandToStr(TbsCommand::cmMinimizeToTray), "cmminimizetotray");
  TbsSkinIni ini;
  WriteColor(ini, "S", "c", 0xFFFFFFFFu);
  WriteBoolean(ini, "S", "b", true);
  EXPECT_EQ(ReadColor(ini, "S", "c", 0), 0xFFFFFFFFu);
  EXPECT_TRUE(ReadBoolean(ini, "S", "b"));
  for (unsigned s = 0; s < 16; ++s) EXPECT_EQ(bsStrToFontStyles(bsFontStylesToStr(s)), s);
}

TEST(SkinValues, StringListsAndTheirCount) {
  const TbsSkinIni ini = TbsSkinIni::Parse("[P]\nactivepicturescount=3\n0=a.bmp\n2=c.bmp\n");
  std::vector<std::string> names{"kept"};
  ReadStrings(ini, "P", "activepictures", names, 10);
  EXPECT_EQ(names, (std::vector<std::string>{"kept", "a.bmp", "", "c.bmp"}));
  const TbsSkinIni huge = TbsSkinIni::Parse("[P]\nactivepicturescount=2000000000\n");
  EXPECT_THROW(ReadStrings(huge, "P", "activepictures", names, 4096), ESkinError);
}

}  // namespace
