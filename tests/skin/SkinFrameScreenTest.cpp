// The skinned frame on a real X server (run under xvfb-run, where no window
// manager decorates or moves anything): what the screen shows outside the
// mask, the caption strip against the frame picture's pixels, and moving,
// sizing and maximising the real window with the mouse.

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

class SkinFrameScreen : public ::testing::Test {
protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    Skin = std::make_unique<TbsSkinData>();
    Skin->LoadStoredSkin(stored);
    Form = std::make_unique<QWidget>();
    Form->setWindowTitle(QStringLiteral("Frame"));
    auto* layout = new QVBoxLayout(Form.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* client = new QLabel(Form.get());
    client->setAutoFillBackground(true);
    layout->addWidget(client);
    Frame = new TbsSkinForm(Form.get());
    Frame->SetSkinData(Skin.get());
    Form->setGeometry(100, 100, 753, 520);
    Screen = QGuiApplication::primaryScreen();
    Desktop = Grab(QRect(100, 100, 753, 520));
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    Settle();
  }

  QImage Grab(const QRect& r) { return Screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage(); }
  void Settle() {
    for (int i = 0; i < 10; ++i) {
      QApplication::processEvents();
      QTest::qWait(20);
    }
  }

  std::unique_ptr<TbsSkinData> Skin;
  std::unique_ptr<QWidget> Form;
  TbsSkinForm* Frame = nullptr;
  QScreen* Screen = nullptr;
  QImage Desktop;
};

}  // namespace

TEST_F(SkinFrameScreen, CornersOutsideTheMaskShowTheDesktopAndTheCaptionIsTheFramePicture) {
  const QImage shown = Grab(Form->geometry());
  const QRegion mask = Form->mask();
  ASSERT_FALSE(mask.isEmpty());
  int outside = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      if (mask.contains(QPoint(x, y))) continue;
      ++outside;
      EXPECT_EQ(shown.pixel(x, y), Desktop.pixel(x, y)) << x << "," << y;
    }
  EXPECT_GE(outside, 7);
  // The top-right corner is cut the same way.
  EXPECT_EQ(shown.pixel(752, 0), Desktop.pixel(752, 0));
  // Right of the caption text, every row of the caption strip is the frame
  // picture's row (the middle is stretched from a uniform gradient).
  const QImage pic = Skin->FramePicture.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < 30; ++y)
    for (int x : {300, 376, 450})
      EXPECT_EQ(shown.pixel(x, y) & 0xFFFFFF, pic.pixel(80, y) & 0xFFFFFF) << x << "," << y;
  EXPECT_EQ(shown.pixel(2, 200) & 0xFFFFFF, pic.pixel(2, 50) & 0xFFFFFF) << "left border";
}

TEST_F(SkinFrameScreen, MouseMovesSizesAndMaximisesTheRealWindow) {
  const QRect start = Form->geometry();
  QTest::mousePress(Form.get(), Qt::LeftButton, {}, QPoint(300, 15));
  QTest::mouseMove(Form.get(), QPoint(340, 45));
  QTest::mouseRelease(Form.get(), Qt::LeftButton, {}, QPoint(300, 15));
  Settle();
  EXPECT_EQ(Form->geometry(), start.translated(40, 30));
  EXPECT_EQ(Form->windowHandle()->geometry(), start.translated(40, 30));
  // The screen shows the caption at the new place.
  const QImage pic = Skin->FramePicture.convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(Grab(Form->geometry()).pixel(376, 20) & 0xFFFFFF, pic.pixel(80, 20) & 0xFFFFFF);

  const QRect moved = Form->geometry();
  const QPoint corner(moved.width() - 1, moved.height() - 1);
  QTest::mousePress(Form.get(), Qt::LeftButton, {}, corner);
  QTest::mouseMove(Form.get(), corner + QPoint(-100, -60));
  QTest::mouseRelease(Form.get(), Qt::LeftButton, {}, corner + QPoint(-100, -60));
  Settle();
  EXPECT_EQ(Form->geometry(), QRect(moved.topLeft(), moved.size() - QSize(100, 60)));

  QTest::mouseDClick(Form.get(), Qt::LeftButton, {}, QPoint(300, 15));
  Settle();
  QRect expected = Screen->availableGeometry();
  if (expected == Screen->geometry()) expected.adjust(1, 1, -1, -1);
  EXPECT_EQ(Form->geometry(), expected);
  QTest::mouseDClick(Form.get(), Qt::LeftButton, {}, QPoint(300, 15));
  Settle();
  EXPECT_EQ(Form->geometry(), QRect(moved.topLeft(), moved.size() - QSize(100, 60)));
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
