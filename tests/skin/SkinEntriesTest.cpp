// Every entry kind written and read back; skipped kinds; FORMINFO adjustments.

#include "tests/skin/SkinTestSupport.h"

#include "skin/bsSkinDescription.h"
#include "skin/bsSkinError.h"
#include "skin/bsSkinKinds.h"
#include "skin/bsSkinPackage.h"

#include <gtest/gtest.h>

namespace {

TbsLoadedSkin ParseDescription(const std::string& text) {
  TbsLoadedSkin skin;
  bsReadSkinDescription(TbsSkinIni::Parse(text), skin);
  return skin;
}

TEST(SkinEntries, EveryKindRoundTripsThroughTheDescriptionAndThePackage) {
  TbsLoadedSkin written = MakeSmallSkin(QColor(90, 140, 200), "all kinds");
  written.Content.SkinObjects.clear();
  written.Content.SkinControls.clear();
  unsigned seed = 1;
  for (const std::string& kind : bsSkinObjectKinds()) {
    auto entry = bsCreateSkinObject(kind, "obj_" + kind);
    ASSERT_TRUE(entry) << kind;
    FillFields(*entry, seed++);
    if (kind == "animate") entry->morphing = false;  // never kept for animations
    written.Content.SkinObjects.push_back(std::move(entry));
  }
  for (const std::string& kind : bsSkinControlKinds()) {
    auto entry = bsCreateSkinControl(kind, "ctl_" + kind);
    ASSERT_TRUE(entry) << kind;
    FillFields(*entry, seed++);
    if (auto* updown = dynamic_cast<TbsDataSkinUpDownControl*>(entry.get())) {
      updown->lefttoppoint = updown->righttoppoint = TbsPoint{};
      updown->leftbottompoint = updown->rightbottompoint = TbsPoint{};
      updown->clientrect = TbsRect{};
    }
    written.Content.SkinControls.push_back(std::move(entry));
  }
  FillFields(written.PopupWindow, seed++);
  FillFields(written.HintWindow, seed++);

  const std::vector<std::uint8_t> bytes = bsWriteSkinPackage(bsMakeSkinPackage(written));
  TbsLoadedSkin read = bsLoadSkinFromPackage(bsReadSkinPackage(bytes));

  ASSERT_EQ(read.Content.SkinObjects.size(), bsSkinObjectKinds().size());
  ASSERT_EQ(read.Content.SkinControls.size(), bsSkinControlKinds().size());
  for (std::size_t i = 0; i < read.Content.SkinObjects.size(); ++i) {
    auto& a = *written.Content.SkinObjects[i];
    auto& b = *read.Content.SkinObjects[i];
    EXPECT_EQ(b.IDName, a.IDName);
    EXPECT_STREQ(b.Kind(), a.Kind());
    EXPECT_EQ(typeid(b), typeid(a));
    EXPECT_EQ(DumpFields(b), DumpFields(a)) << a.IDName;
  }
  for (std::size_t i = 0; i < read.Content.SkinControls.size(); ++i) {
    auto& a = *written.Content.SkinControls[i];
    auto& b = *read.Content.SkinControls[i];
    EXPECT_EQ(typeid(b), typeid(a)) << a.IDName;
    EXPECT_EQ(DumpFields(b), DumpFields(a)) << a.IDName;
  }
  EXPECT_EQ(DumpFields(read.PopupWindow), DumpFields(written.PopupWindow));
  EXPECT_EQ(DumpFields(read.HintWindow), DumpFields(written.HintWindow));

  const TbsSkinContent& c = read.Content;
  EXPECT_EQ(c.skinname, "all kinds");
  EXPECT_EQ(c.FramePictureName, "frame.bmp");
  EXPECT_EQ(c.FrameMaskName, "mask.bmp");
  EXPECT_EQ(c.SkinPictureNames, (std::vector<std::string>{"buttons.bmp", "controls.bmp"}));
  EXPECT_EQ(c.clientrect, (TbsRect{4, 20, 56, 36}));
  EXPECT_EQ(c.borderwidth, 4);
  ASSERT_EQ(c.SkinPictures.size(), 2u);
  EXPECT_EQ(c.SkinPictures[0], written.Content.SkinPictures[0]);
  EXPECT_EQ(c.SkinPictures[1], written.Content.SkinPictures[1]);
  EXPECT_EQ(c.FramePicture, written.Content.FramePicture);
  EXPECT_TRUE(c.InactiveFramePicture.isNull());
}

TEST(SkinEntries, DefaultsOfAnEntryWithoutKeys) {
  TbsLoadedSkin skin = ParseDescription(
      "[SKINOBJECTS]\ncount=2\n0=cap:caption\n1=anim:animate\n"
      "[SKINCONTROLS]\ncount=3\n0=lbl:stdlabel\n1=lst:listbox\n2=hint:label\n");
  auto* cap = dynamic_cast<TbsDataSkinCaption*>(skin.Content.SkinObjects.at(0).get());
  ASSERT_TRUE(cap);
  EXPECT_EQ(cap->fontname, "Arial");
  EXPECT_EQ(cap->fontheight, 14);
  EXPECT_EQ(cap->activepictureindex, -1);
  EXPECT_EQ(cap->alignment, TbsAlignment::taCenter);
  auto* anim = dynamic_cast<TbsDataSkinAnimate*>(skin.Content.SkinObjects.at(1).get());
  ASSERT_TRUE(anim);
  EXPECT_EQ(anim->countframes, 1);
  EXPECT_EQ(anim->timerinterval, 50);
  EXPECT_EQ(anim->command, TbsCommand::cmDefault);
  auto* lbl = dynamic_cast<TbsDataSkinStdLabelControl*>(skin.Content.SkinControls.at(0).get());
  ASSERT_TRUE(lbl);
  EXPECT_EQ(lbl->activefontcolor, 16711680u);
  auto* lst = dynamic_cast<TbsDataSkinListBox*>(skin.Content.SkinControls.at(1).get());
  ASSERT_TRUE(lst);
  EXPECT_EQ(lst->vscrollbarname, "vscrollbar");
  EXPECT_EQ(lst->bothhscrollbarname, "bothhscrollbar");
  EXPECT_EQ(skin.HintWindow.fontheight, 14);
  EXPECT_EQ(TbsDataSkinHintWindow().fontheight, 12);
}

TEST(SkinEntries, UnknownKindsAndNamesWithoutKindAreSkipped) {
  TbsLoadedSkin skin = ParseDescription(
      "[SKINCONTROLS]\ncount=6\n0=a:panel\n1=b:hologram\n2=nocolon\n3=c:Button\n"
      "4=d:edit:extra\n5=e:button\n"
      "[a]\nskinrect=1,2,3,4\n[e]\nskinrect=5,6,7,8\nmorphing=1\nmorphkind=mkgradient\n"
      "[SKINOBJECTS]\ncount=2\n0=x:stdbutton\n1=dup:caption\n2=beyond:caption\n");
  const auto& ctl = skin.Content.SkinControls;
  ASSERT_EQ(ctl.size(), 2u);
  EXPECT_EQ(ctl[0]->IDName, "a");
  EXPECT_EQ(ctl[0]->skinrect, (TbsRect{1, 2, 3, 4}));
  EXPECT_EQ(ctl[1]->IDName, "e");
  auto* e = dynamic_cast<TbsDataSkinButtonControl*>(ctl[1].get());
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->morphing);
  EXPECT_EQ(e->morphkind, TbsMorphKind::mkGradient);
  // "count" bounds the entries: key 2 lies beyond it.
  EXPECT_EQ(skin.Content.SkinObjects.size(), 2u);
}

TEST(SkinEntries, AHugeCountCostsNothing) {
  TbsLoadedSkin skin =
      ParseDescription("[SKINCONTROLS]\ncount=2147483647\n0=a:panel\n7=b:edit\n");
  ASSERT_EQ(skin.Content.SkinControls.size(), 2u);
  EXPECT_EQ(skin.Content.SkinControls[1]->IDName, "b");
}

TEST(SkinEntries, AnUpDownEntryKeepsNoCornersAndAnimationsNeverMorph) {
  TbsLoadedSkin skin = ParseDescription(
      "[SKINCONTROLS]\ncount=1\n0=ud:updown\n"
      "[ud]\nclientrect=1,1,9,9\nlefttoppoint=2,2\nrightbottompoint=8,8\nupbuttonrect=0,0,9,5\n"
      "[SKINOBJECTS]\ncount=1\n0=spin:animate\n[spin]\nmorphing=1\nactiveskinrect=0,0,5,5\n");
  auto* ud = dynamic_cast<TbsDataSkinUpDownControl*>(skin.Content.SkinControls.at(0).get());
  ASSERT_TRUE(ud);
  EXPECT_TRUE(ud->clientrect.IsEmpty());
  EXPECT_EQ(ud->lefttoppoint, TbsPoint{});
  EXPECT_EQ(ud->rightbottompoint, TbsPoint{});
  EXPECT_EQ(ud->upbuttonrect, (TbsRect{0, 0, 9, 5}));
  EXPECT_FALSE(skin.Content.SkinObjects.at(0)->morphing);
}

TEST(SkinEntries, AUserObjectReadsOnlyItsRectangle) {
  TbsLoadedSkin skin = ParseDescription(
      "[SKINOBJECTS]\ncount=1\n0=logo:userobject\n"
      "[logo]\nskinrect=1,2,3,4\nhint=ignored\nactivepictureindex=0\n");
  auto& o = *skin.Content.SkinObjects.at(0);
  EXPECT_EQ(o.skinrect, (TbsRect{1, 2, 3, 4}));
  EXPECT_EQ(o.hint, "");
  EXPECT_EQ(o.activepictureindex, -1);
}

TEST(SkinEntries, AMainMenuItemReadsItsCapitalisedKey) {
  TbsLoadedSkin skin = ParseDescription(
      "[SKINOBJECTS]\ncount=1\n0=mi:mainmenubaritem\n[mi]\nunenabledfontColor=255\n");
  auto* mi = dynamic_cast<TbsDataSkinMainMenuBarItem*>(skin.Content.SkinObjects.at(0).get());
  ASSERT_TRUE(mi);
  EXPECT_EQ(mi->unenabledfontcolor, 255u);
}

TEST(SkinFormInfo, CornerPointsArePulledIntoTheClientRectangle) {
  TbsLoadedSkin skin = ParseDescription(
      "[FORMINFO]\nclientrect=8,25,130,86\nlefttoppoint=2,3\nrighttoppoint=136,4\n"
      "leftbottompoint=1,90\nrightbottompoint=137,91\n");
  const TbsSkinContent& c = skin.Content;
  EXPECT_EQ(c.lefttoppoint, (TbsPoint{8, 25}));
  EXPECT_EQ(c.righttoppoint, (TbsPoint{130, 25}));
  EXPECT_EQ(c.leftbottompoint, (TbsPoint{8, 86}));
  EXPECT_EQ(c.rightbottompoint, (TbsPoint{130, 86}));
  EXPECT_EQ(c.maskrectarea, TbsRect{});  // no mask: left alone
  EXPECT_EQ(c.hittestlefttoppoint, TbsPoint{});
}

TEST(SkinFormInfo, EqualCornerCoordinatesLeaveThePointsAsWritten) {
  TbsLoadedSkin skin = ParseDescription(
      "[FORMINFO]\nclientrect=8,25,130,86\nlefttoppoint=2,3\nrighttoppoint=136,4\n"
      "leftbottompoint=1,90\nrightbottompoint=2,91\n");
  EXPECT_EQ(skin.Content.lefttoppoint, (TbsPoint{2, 3}));
  EXPECT_EQ(skin.Content.righttoppoint, (TbsPoint{136, 4}));
  EXPECT_EQ(skin.Content.rightbottompoint, (TbsPoint{2, 91}));
}

TEST(SkinFormInfo, AMaskBringsTheMaskAreaAndHitTestPoints) {
  TbsLoadedSkin skin = ParseDescription(
      "[PICTURES]\nmask=m.bmp\n"
      "[FORMINFO]\nclientrect=8,25,130,86\nmaskrectarea=0,0,0,0\nlefttoppoint=10,30\n"
      "righttoppoint=120,30\nleftbottompoint=10,80\nrightbottompoint=120,80\n"
      "hittestlefttoppoint=0,9\nhittestrighttoppoint=125,28\n");
  const TbsSkinContent& c = skin.Content;
  EXPECT_EQ(c.maskrectarea, (TbsRect{8, 25, 130, 86}));
  EXPECT_EQ(c.hittestlefttoppoint, (TbsPoint{10, 30}));
  EXPECT_EQ(c.hittestrighttoppoint, (TbsPoint{125, 28}));
  EXPECT_EQ(c.hittestrightbottompoint, (TbsPoint{120, 80}));

  TbsLoadedSkin grown = ParseDescription(
      "[PICTURES]\nmask=m.bmp\n[FORMINFO]\nclientrect=8,25,130,86\nmaskrectarea=10,5,140,80\n");
  EXPECT_EQ(grown.Content.maskrectarea, (TbsRect{8, 5, 140, 86}));
}

TEST(SkinFormInfo, DefaultsWhenTheSectionIsMissing) {
  TbsLoadedSkin skin = ParseDescription("[VERSION]\nskinname=x\n");
  EXPECT_EQ(skin.Content.bgpictureindex, -1);
  EXPECT_EQ(skin.Content.mdibgpictureindex, -1);
  EXPECT_EQ(skin.Content.inactiveeffect, TbsEffect::ieBrightness);
  EXPECT_EQ(skin.PopupWindow.windowpictureindex, -1);
  TbsLoadedSkin effect = ParseDescription("[FORMINFO]\ninactiveeffect=iesepia\n");
  EXPECT_EQ(effect.Content.inactiveeffect, TbsEffect::ieGrayScale);
}

TEST(SkinEntries, ARichEditEntryReadsItsFontAndBackground) {
  TbsLoadedSkin skin = ParseDescription(
      "[SKINCONTROLS]\ncount=4\n0=richedit:richedit\n1=bare:richedit\n2=junk:richedit\n"
      "3=after:richedit\n"
      "[richedit]\nFontName=Courier New\nfontheight=-18\nfontstyle=fsbold,fsitalic\n"
      "fontcolor=$00FFFF\nbgcolor=0x203040\npictureindex=2\nskinrect=1,2,3,4\n"
      "[junk]\nfontname=\nfontheight=tall\nfontstyle=FSBOLD\nfontcolor=dark\nbgcolor=\n"
      "pictureindex=x\n"
      "[after]\nbgcolor=16777215\n");
  const auto& ctl = skin.Content.SkinControls;
  ASSERT_EQ(ctl.size(), 4u);
  auto* rich = dynamic_cast<TbsDataSkinRichEdit*>(ctl[0].get());
  ASSERT_TRUE(rich);
  EXPECT_STREQ(rich->Kind(), "richedit");
  EXPECT_EQ(rich->fontname, "Courier New");
  EXPECT_EQ(rich->fontheight, -18);
  EXPECT_EQ(rich->fontstyle, TbsFontStyles(fsBold | fsItalic));
  EXPECT_EQ(rich->fontcolor, 0x00FFFFu);
  EXPECT_EQ(rich->bgcolor, 0x203040u);
  EXPECT_EQ(rich->pictureindex, 2);
  EXPECT_EQ(rich->skinrect, (TbsRect{1, 2, 3, 4}));

  // No keys at all: the documented defaults.
  auto* bare = dynamic_cast<TbsDataSkinRichEdit*>(ctl[1].get());
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->fontname, "Arial");
  EXPECT_EQ(bare->fontheight, 14);
  EXPECT_EQ(bare->fontstyle, 0);
  EXPECT_EQ(bare->fontcolor, 0u);
  EXPECT_EQ(bare->bgcolor, 0u);
  EXPECT_EQ(bare->pictureindex, -1);
  EXPECT_EQ(bare->maskpictureindex, -1);
  EXPECT_TRUE(bare->skinrect.IsEmpty());

  // Values that are not numbers fall back to the defaults; an empty name
  // stays empty (the font rule stands Arial in for it).
  auto* junk = dynamic_cast<TbsDataSkinRichEdit*>(ctl[2].get());
  ASSERT_TRUE(junk);
  EXPECT_EQ(junk->fontname, "");
  EXPECT_EQ(junk->fontheight, 14);
  EXPECT_EQ(junk->fontstyle, 0);
  EXPECT_EQ(junk->fontcolor, 0u);
  EXPECT_EQ(junk->bgcolor, 0u);
  EXPECT_EQ(junk->pictureindex, -1);
  EXPECT_EQ(dynamic_cast<TbsDataSkinRichEdit&>(*ctl[3]).bgcolor, 16777215u);
}

TEST(SkinEntries, ARichEditEntryWithABrokenRectangleEndsTheLoadWithItsName) {
  try {
    ParseDescription("[SKINCONTROLS]\ncount=1\n0=richedit:richedit\n[richedit]\nskinrect=1,2\n");
    FAIL() << "a rectangle of two fields was accepted";
  } catch (const ESkinError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("richedit"), std::string::npos) << what;
    EXPECT_NE(what.find("skinrect"), std::string::npos) << what;
  }
}

TEST(SkinEntries, AnEditEntryReadsItsButtonRectanglesAndShrugsOffJunk) {
  TbsLoadedSkin skin = ParseDescription(
      "[SKINCONTROLS]\ncount=3\n0=buttonedit:edit\n1=junk:edit\n2=bare:edit\n"
      "[buttonedit]\nbuttonrect=42,1,59,17\nActiveButtonRect=100,20,117,36\n"
      "downbuttonrect=30,30,10,10\nunenabledbuttonrect=2147483647,0,-2147483647,9\n"
      "[junk]\nfontcolor=dark\nfontheight=tall\n"
      "[bare]\nfontcolor=5\n");
  const auto& ctl = skin.Content.SkinControls;
  ASSERT_EQ(ctl.size(), 3u);
  auto& e = dynamic_cast<TbsDataSkinEditControl&>(*ctl[0]);
  EXPECT_EQ(e.buttonrect, (TbsRect{42, 1, 59, 17}));
  EXPECT_EQ(e.activebuttonrect, (TbsRect{100, 20, 117, 36}));
  // Kept as written: the edit draws only rectangles that lie in its picture.
  EXPECT_EQ(e.downbuttonrect, (TbsRect{30, 30, 10, 10}));
  EXPECT_EQ(e.unenabledbuttonrect.Left, 2147483647);
  for (std::size_t i = 1; i < 3; ++i) {
    auto& d = dynamic_cast<TbsDataSkinEditControl&>(*ctl[i]);
    EXPECT_TRUE(d.activebuttonrect.IsEmpty()) << i;
    EXPECT_TRUE(d.unenabledbuttonrect.IsEmpty()) << i;
  }
  // A rectangle that is not four numbers is a broken skin, named as such.
  for (const char* bad : {"a,b,c,d", "1,2,3,x", "1,2,3"}) {
    try {
      ParseDescription(std::string("[SKINCONTROLS]\ncount=1\n0=be:edit\n[be]\nunenabledbuttonrect=") + bad + "\n");
      ADD_FAILURE() << bad << " was accepted";
    } catch (const ESkinError& err) {
      EXPECT_NE(std::string(err.what()).find("unenabledbuttonrect"), std::string::npos) << err.what();
    }
  }
}

}  // namespace
