// Loading skins into TbsSkinData: the change messages, their order and count,
// and the failures that must leave the previous skin in use.

#include "tests/skin/SkinTestSupport.h"

#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsResourceStrData.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinDescription.h"
#include "skin/bsSkinError.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsZlib.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TReceived {
  QString Form;
  int Message;
  TbsSkinData* WParam;
  std::intptr_t LParam;
  bool SkinEmpty;
  std::string SkinName;
};

// A form that records every skin message it receives, and what the skin
// looked like at that moment.
class TRecordingForm : public QWidget {
public:
  TRecordingForm(QString name, std::vector<TReceived>& log) : FName(std::move(name)), FLog(log) {
    TbsFormList::Register(this);
  }
  bool event(QEvent* e) override {
    if (auto* m = dynamic_cast<TbsSkinMessageEvent*>(e)) {
      FLog.push_back({FName, m->Message(), m->WParam, m->LParam, m->WParam->SkinEmpty,
                      m->WParam->skinname});
      return true;
    }
    return QWidget::event(e);
  }

private:
  QString FName;
  std::vector<TReceived>& FLog;
};

class SkinLoad : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    other = std::make_unique<TRecordingForm>("other", log);  // created first
    owner = std::make_unique<TRecordingForm>("owner", log);
    skinData = new TbsSkinData(owner.get());
    TbsLoadedSkin light = MakeSmallSkin(QColor(230, 235, 245), "light");
    lightFile = WriteFile(Path("light.skn"), SkinFileBytes(3, CompressSkin(light)));
    TbsLoadedSkin dark = MakeSmallSkin(QColor(40, 44, 52), "dark");
    darkStream = CompressSkin(dark);
  }
  QString Path(const char* name) { return FDir.filePath(name); }

  // Loads a file that must fail, and checks that nothing changed.
  std::string ExpectRejected(const QString& path) {
    EXPECT_TRUE(skinData->LoadCompressedSkinFile(lightFile));
    log.clear();
    std::string message;
    try {
      skinData->LoadCompressedSkinFile(path);
      ADD_FAILURE() << "accepted " << path.toStdString();
    } catch (const ESkinError& e) {
      message = e.what();
      EXPECT_NE(message.find(path.toStdString()), std::string::npos) << message;
    }
    EXPECT_TRUE(log.empty()) << "a failed load sent " << log.size() << " messages";
    EXPECT_FALSE(skinData->SkinEmpty);
    EXPECT_EQ(skinData->skinname, "light");
    EXPECT_EQ(skinData->IndexOfControl("button"), 0);
    EXPECT_EQ(skinData->SkinPictures.size(), 2u);
    return message;
  }

  QTemporaryDir FDir;
  std::vector<TReceived> log;
  std::unique_ptr<TRecordingForm> other, owner;
  TbsSkinData* skinData = nullptr;  // owned by the owner form
  QString lightFile;
  std::vector<std::uint8_t> darkStream;
};

TEST_F(SkinLoad, ALoadSendsThreeMessagesOwnerFormFirst) {
  EXPECT_TRUE(skinData->SkinEmpty);
  EXPECT_TRUE(skinData->LoadCompressedSkinFile(lightFile));
  EXPECT_FALSE(skinData->SkinEmpty);
  EXPECT_EQ(skinData->IndexOfControl("panel"), 1);
  EXPECT_EQ(skinData->IndexOfObject("closebutton"), 1);
  EXPECT_EQ(skinData->IndexOfObject("Closebutton"), -1);
  EXPECT_EQ(skinData->FramePicture.size(), QSize(60, 40));

  const std::vector<std::pair<QString, int>> want = {
      {"owner", SKN_BEFORECHANGE}, {"other", SKN_BEFORECHANGE}, {"owner", SKN_CHANGE},
      {"other", SKN_CHANGE},       {"owner", SKN_AFTERCHANGE},  {"other", SKN_AFTERCHANGE}};
  ASSERT_EQ(log.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(log[i].Form, want[i].first) << i;
    EXPECT_EQ(log[i].Message, want[i].second) << i;
    EXPECT_EQ(log[i].WParam, skinData);
    EXPECT_EQ(log[i].LParam, 1000);
  }
  EXPECT_TRUE(log[0].SkinEmpty);
  EXPECT_FALSE(log[2].SkinEmpty);
  EXPECT_EQ(log[2].SkinName, "light");

  // Re-skinning: the old skin is still readable during SKN_BEFORECHANGE.
  log.clear();
  WriteFile(Path("dark.skn"), SkinFileBytes(3, darkStream));
  EXPECT_TRUE(skinData->LoadCompressedSkinFile(Path("dark.skn")));
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0].SkinName, "light");
  EXPECT_TRUE(log[0].SkinEmpty);
  EXPECT_EQ(log[2].SkinName, "dark");
  EXPECT_EQ(skinData->FramePicture.pixelColor(30, 20), QColor(40, 44, 52));
}

TEST_F(SkinLoad, AFormClosedMidwayIsSkipped) {
  other.reset();
  EXPECT_TRUE(skinData->LoadCompressedSkinFile(lightFile));
  EXPECT_EQ(log.size(), 3u);
  for (const TReceived& r : log) EXPECT_EQ(r.Form, "owner");
}

TEST_F(SkinLoad, BrokenFilesLeaveThePreviousSkin) {
  const auto& s = darkStream;
  EXPECT_NE(ExpectRejected(WriteFile(Path("len0.dat"), SkinFileBytes(3, s, 0))).find("damaged"),
            std::string::npos);
  ExpectRejected(WriteFile(Path("neg.dat"), SkinFileBytes(3, s, -5)));
  ExpectRejected(WriteFile(Path("long.dat"), SkinFileBytes(3, s, std::int64_t(s.size()) + 1)));
  const std::vector<std::uint8_t> whole = SkinFileBytes(3, s);
  ExpectRejected(WriteFile(Path("short.dat"), std::span(whole).first(6)));
  std::vector<std::uint8_t> garbage(s.size(), 0x5A);
  EXPECT_NE(ExpectRejected(WriteFile(Path("zlib.dat"), SkinFileBytes(3, garbage)))
                .find("compression error"),
            std::string::npos);
  std::vector<std::uint8_t> cut(s.begin(), s.begin() + std::ptrdiff_t(s.size() / 2));
  ExpectRejected(WriteFile(Path("cut.dat"), SkinFileBytes(1, cut)));
  EXPECT_NE(ExpectRejected(Path("missing.dat")).find("Cannot open"), std::string::npos);
}

TEST_F(SkinLoad, DamagedPackagesLeaveThePreviousSkin) {
  TbsLoadedSkin dark = MakeSmallSkin(QColor(40, 44, 52), "dark");
  std::vector<std::uint8_t> package = bsWriteSkinPackage(bsMakeSkinPackage(dark));
  const std::string text(package.begin(), package.end());

  // A bitmap cut short: drop bytes in the middle of the first active picture.
  std::vector<std::uint8_t> truncated = package;
  const std::size_t description = text.find("[VERSION]");
  truncated.resize(description - 200);
  ExpectRejected(WriteFile(Path("bmp.dat"), SkinFileBytes(3, bsDeflate(truncated))));

  // A rectangle field with no digit at all.
  std::string badText = text;
  const std::size_t at = badText.find("skinrect=0,0,16,21");
  ASSERT_NE(at, std::string::npos);
  badText.replace(at, 18, "skinrect=0,,16,21 ");
  std::vector<std::uint8_t> badRect(badText.begin(), badText.end());
  const std::string message =
      ExpectRejected(WriteFile(Path("rect.dat"), SkinFileBytes(3, bsDeflate(badRect))));
  EXPECT_NE(message.find("[button] skinrect"), std::string::npos) << message;
}

TEST_F(SkinLoad, NewerVersions) {
  EXPECT_TRUE(skinData->LoadCompressedSkinFile(lightFile));
  log.clear();
  // A newer file is ignored: nothing changes, nothing is sent.
  EXPECT_FALSE(skinData->LoadCompressedSkinFile(
      WriteFile(Path("v4file.dat"), SkinFileBytes(4, darkStream))));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(skinData->skinname, "light");
  EXPECT_FALSE(skinData->SkinEmpty);

  // A valid file around a newer package: the skin is dropped after SKN_BEFORECHANGE.
  std::vector<std::uint8_t> v4 = {4, 0, 0, 0, 1, 1, 1};
  EXPECT_TRUE(skinData->LoadCompressedSkinFile(
      WriteFile(Path("v4package.dat"), SkinFileBytes(3, bsDeflate(v4)))));
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].Message, SKN_BEFORECHANGE);
  EXPECT_EQ(log[1].Message, SKN_BEFORECHANGE);
  EXPECT_TRUE(skinData->SkinEmpty);
  EXPECT_EQ(skinData->IndexOfControl("button"), -1);
  EXPECT_TRUE(skinData->FramePicture.isNull());
}

TEST_F(SkinLoad, TrailingBytesAfterTheStreamAreIgnored) {
  std::vector<std::uint8_t> bytes = SkinFileBytes(3, darkStream);
  bytes.insert(bytes.end(), 1000, 0xCC);
  EXPECT_TRUE(skinData->LoadCompressedSkinFile(WriteFile(Path("tail.dat"), bytes)));
  EXPECT_EQ(skinData->skinname, "dark");
}

TEST_F(SkinLoad, StoredSkinReferences) {
  auto* stored = new TbsCompressedStoredSkin(owner.get());
  skinData->SetCompressedStoredSkin(stored);  // empty: nothing happens
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(skinData->SkinEmpty);
  EXPECT_EQ(skinData->CompressedStoredSkin(), stored);

  stored->SetCompressedData(darkStream);
  skinData->SetCompressedStoredSkin(stored);
  EXPECT_EQ(log.size(), 6u);
  EXPECT_EQ(skinData->skinname, "dark");
  delete stored;  // the skin data forgets it and keeps its skin
  EXPECT_EQ(skinData->CompressedStoredSkin(), nullptr);
  EXPECT_FALSE(skinData->SkinEmpty);
  skinData->SetCompressedStoredSkin(nullptr);
  EXPECT_EQ(skinData->skinname, "dark");

  log.clear();
  auto* texts = new TbsResourceStrData(owner.get());
  skinData->SetResourceStrData(texts);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].Message, SKN_CHANGERESSTRDATA);
  EXPECT_EQ(log[0].Form, "owner");
  delete texts;
  EXPECT_EQ(skinData->ResourceStrData(), nullptr);
}

TEST_F(SkinLoad, ClearSkinEmptiesEverything) {
  EXPECT_TRUE(skinData->LoadCompressedSkinFile(lightFile));
  skinData->PopupWindowSkin->windowpictureindex = 1;
  const TbsDataSkinPopupWindow* popup = skinData->PopupWindowSkin.get();
  skinData->ClearSkin();
  EXPECT_TRUE(skinData->SkinEmpty);
  EXPECT_TRUE(skinData->SkinObjects.empty());
  EXPECT_TRUE(skinData->SkinControls.empty());
  EXPECT_TRUE(skinData->SkinPictures.empty());
  EXPECT_TRUE(skinData->SkinPictureNames.empty());
  EXPECT_TRUE(skinData->FrameMask.isNull());
  EXPECT_TRUE(skinData->FrameMaskName.empty());
  EXPECT_EQ(skinData->PopupWindowSkin.get(), popup);
  EXPECT_EQ(popup->windowpictureindex, -1);
  EXPECT_EQ(skinData->ActivePicture(0), nullptr);
}

TEST_F(SkinLoad, ASkinFolderPacksAndLoads) {
  // A folder as a skin author keeps it: the description beside its bitmaps.
  TbsLoadedSkin skin = MakeSmallSkin(QColor(120, 160, 90), "folder");
  skin.Content.FramePicture.save(Path("frame.bmp"), "BMP");
  skin.Content.FrameMask.save(Path("mask.bmp"), "BMP");
  skin.Content.SkinPictures[0].save(Path("buttons.bmp"), "BMP");
  skin.Content.SkinPictures[1].save(Path("controls.bmp"), "BMP");
  TbsSkinPackage package = bsMakeSkinPackage(skin);
  WriteFile(Path("skin.ini"), std::span(reinterpret_cast<const std::uint8_t*>(package.Description.data()),
                                        package.Description.size()));
  TbsCompressedStoredSkin stored;
  ASSERT_TRUE(stored.CompressSkinFolder(Path("skin.ini")));
  EXPECT_EQ(stored.FileName, "skin.ini");
  stored.SaveCompressedFile(Path("folder.skn"));
  EXPECT_TRUE(skinData->LoadCompressedSkinFile(Path("folder.skn")));
  EXPECT_EQ(skinData->skinname, "folder");
  EXPECT_EQ(skinData->SkinPictures.at(1).pixelColor(5, 30), skin.Content.SkinPictures[1].pixelColor(5, 30));

  WriteFile(Path("partial.ini"), std::span(reinterpret_cast<const std::uint8_t*>("[VERSION]\n"), 10));
  TbsCompressedStoredSkin untouched;
  EXPECT_FALSE(untouched.CompressSkinFolder(Path("partial.ini")));
  EXPECT_TRUE(untouched.IsEmpty());
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
