// The skin the program carries: every entry the window, the message box and
// the open dialog look up, with the sizes their layouts rely on; and the dark
// variant that re-skins it.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinDescription.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsZlib.h"
#include "tools/skingen/SkinBuilder.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

// The piece mode a control draws with: 1 nine-piece, 2 horizontal, 3 vertical, 0 fixed.
int PieceMode(const TbsDataSkinCustomControl& c) {
  if (c.skinrect.IsEmpty()) return -1;
  if (c.rightbottompoint.X != 0 && c.rightbottompoint.Y != 0) return 1;
  if (c.righttoppoint.X != 0 || c.righttoppoint.Y != 0) return 2;
  if (c.leftbottompoint.X != 0 || c.leftbottompoint.Y != 0) return 3;
  return 0;
}

// Collects every rectangle field of an entry.
class TRects final : public TbsSkinFieldVisitor {
public:
  std::vector<std::pair<std::string, TbsRect>> Found;
  void Rect(const char* k, TbsRect& v) override { Found.emplace_back(k, v); }
  void Point(const char*, TbsPoint&) override {}
  void Integer(const char*, int&, int) override {}
  void Color(const char*, TbsColor&, TbsColor) override {}
  void Boolean(const char*, bool&) override {}
  void String(const char*, std::string&, const char*) override {}
  void FontStyle(const char*, TbsFontStyles&) override {}
  void Alignment(const char*, TbsAlignment&) override {}
  void MorphKind(const char*, TbsMorphKind&) override {}
  void Effect(const char*, TbsEffect&) override {}
  void Command(const char*, TbsCommand&) override {}
};

bool Inside(const TbsRect& r, const QImage& image) {
  return r.Left >= 0 && r.Top >= 0 && r.Right <= image.width() && r.Bottom <= image.height();
}

class BuiltinSkin : public ::testing::Test {
protected:
  void SetUp() override {
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    ASSERT_FALSE(stored.IsEmpty());
    skin.LoadStoredSkin(stored);
  }
  template <class T>
  const T& ControlEntry(const char* name) {
    const int i = skin.IndexOfControl(name);
    EXPECT_GE(i, 0) << name;
    if (i < 0) throw std::runtime_error(name);
    const T* e = dynamic_cast<const T*>(skin.SkinControls[std::size_t(i)].get());
    EXPECT_NE(e, nullptr) << name << " has the wrong kind";
    if (!e) throw std::runtime_error(name);
    return *e;
  }
  TbsSkinData skin;
};

TEST_F(BuiltinSkin, LoadsWithFrameMaskAndPictures) {
  EXPECT_FALSE(skin.SkinEmpty);
  EXPECT_FALSE(skin.FramePicture.isNull());
  EXPECT_EQ(skin.FrameMask.size(), skin.FramePicture.size());
  EXPECT_TRUE(skin.InactiveFramePicture.isNull());
  EXPECT_FALSE(skin.clientrect.IsEmpty());
  EXPECT_FALSE(skin.captionrect.IsEmpty());
  // The window's corners are cut by the mask; its middle belongs to the window.
  EXPECT_NE(skin.FrameMask.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(skin.FrameMask.pixelColor(skin.FrameMask.width() / 2, 1), QColor(Qt::black));
  EXPECT_EQ(skin.PopupWindowSkin->windowpictureindex >= 0, true);
  EXPECT_NE(skin.ActivePicture(skin.PopupWindowSkin->windowpictureindex), nullptr);
  EXPECT_NE(skin.ActivePicture(skin.HintWindowSkin->windowpictureindex), nullptr);
}

TEST(BuiltinSkinPackage, StartsAsAVersionThreePackage) {
  std::vector<std::uint8_t> bytes;
  bsInflate(bsBuiltinSkinData(), bytes, 64u << 20);
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[4], 0);  // frame picture present
  EXPECT_EQ(bytes[5], 'B');
  EXPECT_EQ(bytes[6], 'M');
  const std::size_t frame = bytes[7] | (bytes[8] << 8) | (bytes[9] << 16) | (bytes[10] << 24);
  EXPECT_EQ(bytes[5 + frame], 1);      // no inactive frame picture
  EXPECT_EQ(bytes[5 + frame + 1], 0);  // the mask
  EXPECT_EQ(bsReadSkinPackage(bytes).Description.rfind("[VERSION]\r\n", 0), 0u);
}

TEST_F(BuiltinSkin, FrameObjectsForTheCaptionAndItsButtons) {
  ASSERT_GE(skin.IndexOfObject("caption"), 0);
  EXPECT_TRUE(dynamic_cast<TbsDataSkinCaption*>(skin.SkinObjects[std::size_t(skin.IndexOfObject("caption"))].get()));
  const std::pair<const char*, TbsCommand> buttons[] = {
      {"closebutton", TbsCommand::cmClose}, {"maxbutton", TbsCommand::cmMaximize},
      {"minbutton", TbsCommand::cmMinimize}, {"sysmenubutton", TbsCommand::cmSysMenu},
      {"rollupbutton", TbsCommand::cmRollUp}, {"traybutton", TbsCommand::cmMinimizeToTray}};
  for (auto [name, command] : buttons) {
    const int i = skin.IndexOfObject(name);
    ASSERT_GE(i, 0) << name;
    auto* b = dynamic_cast<TbsDataSkinStdButton*>(skin.SkinObjects[std::size_t(i)].get());
    ASSERT_TRUE(b) << name;
    EXPECT_EQ(b->command, command) << name;
    EXPECT_TRUE(b->skinrectinapicture);
    EXPECT_FALSE(b->activeskinrect.IsEmpty()) << name;
    EXPECT_FALSE(b->downrect.IsEmpty()) << name;
    EXPECT_LE(b->skinrect.Height(), skin.captionrect.Height()) << name;
  }
  const int item = skin.IndexOfObject("menuitem");
  ASSERT_GE(item, 0);
  EXPECT_TRUE(dynamic_cast<TbsDataSkinMenuItem*>(skin.SkinObjects[std::size_t(item)].get()));
}

TEST_F(BuiltinSkin, ControlEntriesHaveTheSizesTheLayoutsUse) {
  const auto& button = ControlEntry<TbsDataSkinButtonControl>("button");
  EXPECT_GE(button.skinrect.Height(), 20);
  EXPECT_LE(button.skinrect.Height(), 21);
  EXPECT_EQ(PieceMode(button), 2);
  EXPECT_EQ(ControlEntry<TbsDataSkinEditControl>("edit").skinrect.Height(), 18);
  EXPECT_EQ(PieceMode(ControlEntry<TbsDataSkinEditControl>("edit")), 2);
  EXPECT_EQ(ControlEntry<TbsDataSkinSpinEditControl>("spinedit").skinrect.Height(), 20);
  EXPECT_EQ(PieceMode(ControlEntry<TbsDataSkinSpinEditControl>("spinedit")), 2);
  const auto& combo = ControlEntry<TbsDataSkinComboBox>("combobox");
  EXPECT_EQ(combo.skinrect.Height(), 20);
  EXPECT_EQ(PieceMode(combo), 2);
  EXPECT_GE(skin.IndexOfControl(combo.listboxname), 0);
  const auto& vbar = ControlEntry<TbsDataSkinScrollBarControl>("vscrollbar");
  EXPECT_EQ(vbar.skinrect.Width(), 19);
  EXPECT_EQ(PieceMode(vbar), 3);
  EXPECT_EQ(ControlEntry<TbsDataSkinScrollBarControl>("hscrollbar").skinrect.Height(), 19);
  EXPECT_EQ(ControlEntry<TbsDataSkinScrollBarControl>("bothhscrollbar").skinrect.Height(), 19);
  EXPECT_EQ(PieceMode(ControlEntry<TbsDataSkinPanelControl>("panel")), 1);
  const auto& group = ControlEntry<TbsDataSkinPanelControl>("groupbox");
  EXPECT_EQ(PieceMode(group), 1);
  EXPECT_FALSE(group.captionrect.IsEmpty());
  const auto& list = ControlEntry<TbsDataSkinListBox>("listbox");
  EXPECT_GE(skin.IndexOfControl(list.vscrollbarname), 0);
  EXPECT_GE(skin.IndexOfControl(list.hscrollbarname), 0);
  EXPECT_FALSE(list.itemrect.IsEmpty());
  ControlEntry<TbsDataSkinStdLabelControl>("stdlabel");
  ControlEntry<TbsDataSkinRichEdit>("richedit");
  ControlEntry<TbsDataSkinListView>("listview");
  ControlEntry<TbsDataSkinBevel>("bevel");
  ControlEntry<TbsDataSkinPanelControl>("toolpanel");
  ControlEntry<TbsDataSkinButtonControl>("toolbutton");
  ControlEntry<TbsDataSkinMenuButtonControl>("toolmenubutton");
  ControlEntry<TbsDataSkinComboBox>("toolcombobox");
  ControlEntry<TbsDataSkinButtonControl>("resizebutton");
  // The edit with a button: as high as the edit, its button in the right end
  // piece (so it moves with the right end), its looks as large as the button.
  const auto& browse = ControlEntry<TbsDataSkinEditControl>("buttonedit");
  EXPECT_EQ(browse.skinrect.Height(), 18);
  EXPECT_EQ(PieceMode(browse), 2);
  EXPECT_GE(browse.buttonrect.Left, browse.righttoppoint.X);
  EXPECT_LE(browse.clientrect.Right, browse.buttonrect.Left);
  for (const TbsRect& r : {browse.activebuttonrect, browse.downbuttonrect, browse.unenabledbuttonrect}) {
    EXPECT_EQ(r.Width(), browse.buttonrect.Width());
    EXPECT_EQ(r.Height(), browse.buttonrect.Height());
  }
}

TEST_F(BuiltinSkin, EveryRectangleLiesInItsPicture) {
  for (auto& entry : skin.SkinControls) {
    if (entry->skinrect.IsEmpty()) continue;
    const QImage* picture = skin.ActivePicture(entry->pictureindex);
    ASSERT_NE(picture, nullptr) << entry->IDName;
    TRects rects;
    entry->VisitFields(rects);
    for (const auto& [key, r] : rects.Found) {
      if (!r.IsEmpty()) {
        EXPECT_TRUE(Inside(r, *picture)) << entry->IDName << "." << key;
      }
    }
  }
  for (auto& entry : skin.SkinObjects) {
    const QImage* picture = entry->skinrectinapicture ? skin.ActivePicture(entry->activepictureindex)
                                                      : &skin.FramePicture;
    ASSERT_NE(picture, nullptr) << entry->IDName;
    EXPECT_TRUE(Inside(entry->skinrect, *picture)) << entry->IDName;
  }
}

TEST_F(BuiltinSkin, TheDarkSkinReplacesItVisibly) {
  TbsLoadedSkin dark = BuildSkin(DarkPalette());
  TbsCompressedStoredSkin stored;
  stored.CompressedData = bsDeflate(bsWriteSkinPackage(bsMakeSkinPackage(dark)));
  const QColor lightCaption = skin.FramePicture.pixelColor(80, 10);
  skin.LoadStoredSkin(stored);
  EXPECT_FALSE(skin.SkinEmpty);
  EXPECT_EQ(skin.skinname, "Tellivo Dark");
  const QColor darkCaption = skin.FramePicture.pixelColor(80, 10);
  EXPECT_GT(lightCaption.lightness() - darkCaption.lightness(), 100);
  EXPECT_GE(skin.IndexOfControl("button"), 0);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
