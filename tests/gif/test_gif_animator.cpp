// The animator widget on the offscreen platform: frame timing, looping,
// auto-size, placement, transparency over the parent, clicks and loading.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "gif/GIFAnimator.h"
#include "gif/GIFQImage.h"
#include "tests/gif/GifBuilder.h"

namespace rasp {
namespace {

using test::Bytes;
using test::TGifBuilder;

const std::vector<TRGB> kPal = {{255, 0, 0}, {10, 10, 200}, {20, 200, 20}, {200, 200, 0}};

Bytes Frames(std::initializer_list<int> delays, int w = 4, int h = 2) {
  TGifBuilder b(w, h, kPal);
  int i = 0;
  for (int d : delays) b.Gce(1, d).Frame(0, 0, w, h, Bytes(std::size_t(w * h), std::uint8_t(1 + i++ % 3)));
  return b.Build();
}

TEST(GifAnimator, DelaysAreClampedToFiftyMsUpToTenSeconds) {
  TGIFAnimator a;
  a.LoadFromBytes(Frames({0, 3, 2000, 25}));
  a.show();
  std::vector<int> delays;
  for (int i = 0; i < 4; ++i) {
    a.SetFrameIndex(i);
    delays.push_back(a.FrameDelay());
  }
  EXPECT_EQ(delays, (std::vector<int>{50, 50, 10000, 250}));
  // Each tick arms the timer with the new frame's time.
  a.SetFrameIndex(0);
  a.SetAnimate(true);
  std::vector<int> intervals;
  for (int i = 0; i < 4; ++i) {
    a.AdvanceFrame();
    intervals.push_back(a.AnimTimer().Interval());
  }
  EXPECT_EQ(intervals, (std::vector<int>{50, 10000, 250, 50}));
  EXPECT_EQ(a.FrameIndex(), 0);
  // A delay beyond 6,553 hundredths is not wrapped into a short one.
  a.LoadFromBytes(Frames({7000, 1}));
  EXPECT_EQ(a.FrameDelay(), 10000);
}

TEST(GifAnimator, SingleFrameNeverTicks) {
  TGIFAnimator a;
  a.LoadFromBytes(Frames({10}));
  a.show();
  QSignalSpy started(&a, &TGIFAnimator::OnStart), changed(&a, &TGIFAnimator::OnFrameChanged);
  a.SetAnimate(true);
  EXPECT_EQ(started.count(), 1);
  EXPECT_TRUE(a.Animate());
  EXPECT_FALSE(a.AnimTimer().Running());
  EXPECT_EQ(a.FrameDelay(), 0);
  a.AdvanceFrame();
  QTest::qWait(150);
  EXPECT_EQ(changed.count(), 0);
  EXPECT_EQ(a.FrameIndex(), 0);
}

TEST(GifAnimator, LoopOffPlaysOnceAndStopsOnFrameZero) {
  TGIFAnimator a;
  a.LoadFromBytes(Frames({0, 0, 0}));
  a.show();
  a.SetLoop(false);
  std::vector<int> shown{a.FrameIndex()};
  QObject::connect(&a, &TGIFAnimator::OnFrameChanged, [&] { shown.push_back(a.FrameIndex()); });
  QSignalSpy stopped(&a, &TGIFAnimator::OnStop);
  a.SetAnimate(true);
  ASSERT_TRUE(stopped.wait(5000));
  EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_FALSE(a.Animate());
  EXPECT_FALSE(a.AnimTimer().Running());
  QTest::qWait(120);
  EXPECT_EQ(shown.size(), 4u);
  EXPECT_EQ(stopped.count(), 1);
}

TEST(GifAnimator, LoopOnKeepsGoing) {
  TGIFAnimator a;
  a.LoadFromBytes(Frames({0, 0, 0}));
  a.show();
  std::vector<int> shown;
  QObject::connect(&a, &TGIFAnimator::OnFrameChanged, [&] { shown.push_back(a.FrameIndex()); });
  a.SetAnimate(true);
  QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 5, 5000);
  EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 5), (std::vector<int>{1, 2, 0, 1, 2}));
  EXPECT_TRUE(a.Animate());
  QSignalSpy stopped(&a, &TGIFAnimator::OnStop);
  a.SetAnimate(false);
  EXPECT_EQ(stopped.count(), 1);
}

TEST(GifAnimator, HiddenControlDoesNotAdvance) {
  TGIFAnimator a;
  a.LoadFromBytes(Frames({0, 0}));
  a.AdvanceFrame();
  EXPECT_EQ(a.FrameIndex(), 0);
}

TEST(GifAnimator, AutoSizeTakesTheLogicalScreen) {
  TGIFAnimator a;
  EXPECT_EQ(a.size(), QSize(105, 105));
  a.LoadFromBytes(TGifBuilder(468, 60, kPal).Frame(10, 10, 2, 2, Bytes(4, 1)).Build());
  EXPECT_EQ(a.size(), QSize(468, 60));
  EXPECT_EQ(a.sizeHint(), QSize(468, 60));

  TGIFAnimator fixed;
  fixed.SetAutoSize(false);
  fixed.LoadFromBytes(TGifBuilder(468, 60, kPal).Frame(0, 0, 2, 2, Bytes(4, 1)).Build());
  EXPECT_EQ(fixed.size(), QSize(105, 105));
  fixed.SetAutoSize(true);
  EXPECT_EQ(fixed.size(), QSize(468, 60));
}

TEST(GifAnimator, FrameIndexSetterIgnoresValuesOutOfRange) {
  TGIFAnimator a;
  a.LoadFromBytes(Frames({1, 2, 3}));
  QSignalSpy changed(&a, &TGIFAnimator::OnFrameChanged), change(&a, &TGIFAnimator::OnChange);
  a.SetFrameIndex(0);
  a.SetFrameIndex(-1);
  a.SetFrameIndex(3);
  EXPECT_EQ(changed.count(), 0);
  a.SetFrameIndex(2);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(a.FrameIndex(), 2);
  // Loading starts again at frame 0.
  a.LoadFromBytes(Frames({1, 2}));
  EXPECT_EQ(a.FrameIndex(), 0);
  EXPECT_EQ(change.count(), 1);
}

// A green parent; the banner is transparent on red (index 0) and has one
// opaque red pixel in its second frame.
struct TOverParent {
  QWidget Parent;
  TGIFAnimator* Gif;
  TOverParent() {
    Parent.resize(40, 20);
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(0, 255, 0));
    Parent.setPalette(pal);
    Parent.setAutoFillBackground(true);
    Gif = new TGIFAnimator(&Parent);
    Gif->LoadFromBytes(TGifBuilder(4, 2, kPal)
                           .Gce(1, 10, 0).Frame(0, 0, 4, 2, {0, 1, 1, 0, 1, 0, 0, 1})
                           .Gce(1, 10).Frame(0, 0, 1, 1, {0})
                           .Build());
    Gif->move(5, 5);
    Parent.show();
  }
  QRgb At(int x, int y) { return Parent.grab().toImage().pixel(5 + x, 5 + y); }
};

TEST(GifAnimator, ParentShowsThroughTransparentPixels) {
  TOverParent t;
  EXPECT_EQ(t.Gif->size(), QSize(4, 2));
  EXPECT_EQ(t.At(0, 0), qRgb(0, 255, 0));
  EXPECT_EQ(t.At(1, 0), qRgb(10, 10, 200));
  EXPECT_EQ(t.At(1, 1), qRgb(0, 255, 0));
  t.Gif->SetFrameIndex(1);
  // The opaque red pixel is not mistaken for the key colour.
  EXPECT_EQ(t.At(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(t.At(3, 0), qRgb(0, 255, 0));
  // With Transparent off the key colour itself is shown.
  t.Gif->SetTransparent(false);
  EXPECT_EQ(t.At(3, 0), qRgb(255, 0, 0));
}

TEST(GifAnimator, CenterAndStretch) {
  QWidget parent;
  parent.resize(30, 20);
  auto* a = new TGIFAnimator(&parent);
  a->SetAutoSize(false);
  a->setGeometry(0, 0, 20, 10);
  a->LoadFromBytes(TGifBuilder(4, 2, kPal).Frame(0, 0, 4, 2, {1, 1, 2, 2, 1, 1, 2, 2}).Build());
  parent.show();
  auto px = [&](int x, int y) { return a->grab().toImage().pixel(x, y); };
  EXPECT_EQ(px(0, 0), qRgb(10, 10, 200));
  EXPECT_EQ(px(3, 1), qRgb(20, 200, 20));
  a->SetCenter(true);
  EXPECT_EQ(px(8, 4), qRgb(10, 10, 200));
  EXPECT_EQ(px(11, 5), qRgb(20, 200, 20));
  EXPECT_NE(px(0, 0), qRgb(10, 10, 200));
  a->SetStretch(true);
  EXPECT_EQ(px(0, 0), qRgb(10, 10, 200));
  EXPECT_EQ(px(19, 9), qRgb(20, 200, 20));
  EXPECT_EQ(px(9, 5), qRgb(10, 10, 200));
  EXPECT_EQ(px(10, 5), qRgb(20, 200, 20));
}

TEST(GifAnimator, ClickAndCursor) {
  TGIFAnimator a;
  a.LoadFromBytes(Frames({1, 1}, 30, 20));
  a.setCursor(Qt::PointingHandCursor);
  a.show();
  QSignalSpy clicked(&a, &TGIFAnimator::clicked);
  QTest::mouseClick(&a, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicked.count(), 1);
  QTest::mouseClick(&a, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_EQ(a.cursor().shape(), Qt::PointingHandCursor);
}

TEST(GifAnimator, LoadsFromFilesAndSurvivesBrokenOnes) {
  QTemporaryDir dir;
  const Bytes good = Frames({5, 5});
  const QString path = dir.filePath("баннер.dat");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(good.data()), qint64(good.size()));
  }
  TGIFAnimator a;
  a.LoadFromFile(path);
  EXPECT_EQ(a.Image().Count(), 2);
  a.show();
  a.SetAnimate(true);
  EXPECT_THROW(a.LoadFromFile(dir.filePath("missing.gif")), EInvalidGraphicOperation);
  EXPECT_THROW(a.LoadFromBytes(QByteArray("GIF89a\x02")), EInvalidGraphicOperation);
  EXPECT_EQ(a.Image().Count(), 0);
  EXPECT_FALSE(a.AnimTimer().Running());
  a.repaint();  // an empty image paints nothing and does not fail
  // A file without any colour table fails to load; one whose later frame has
  // none still plays the frames it can show.
  EXPECT_THROW(a.LoadFromBytes(TGifBuilder(2, 1).Frame(0, 0, 2, 1, {1, 1}).Build()), EInvalidGraphicOperation);
  a.SetImage([] {
    TGIFImage img;
    img.LoadFromBytes(TGifBuilder(2, 1).Frame(0, 0, 2, 1, {1, 1}, kPal).Frame(0, 0, 2, 1, {1, 1}).Build());
    return img;
  }());
  EXPECT_EQ(a.Image().Count(), 2);
  a.SetFrameIndex(1);
  a.repaint();
}

TEST(GifQImage, FramesAndPicturesBecomeQImages) {
  TGIFImage img;
  img.LoadFromBytes(TGifBuilder(3, 2, kPal).Gce(0, 0, 0).Frame(0, 0, 3, 2, {0, 1, 2, 3, 2, 1}).Build());
  const QImage f = FrameToQImage(img.FrameBitmap(0), img.Frame(0).TransparentIndex);
  ASSERT_EQ(f.size(), QSize(3, 2));
  EXPECT_EQ(f.pixel(0, 0), qRgba(255, 0, 0, 0));
  EXPECT_EQ(f.pixel(1, 0), qRgb(10, 10, 200));
  EXPECT_EQ(f.pixel(0, 1), qRgb(200, 200, 0));
  // A 4-entry table becomes a 4-bit palette whose unused entries are grey.
  EXPECT_EQ(f.colorCount(), 16);
  EXPECT_EQ(f.color(9), qRgb(128, 128, 128));

  TGIFAnimator a;
  a.SetImage(img);
  TColor key;
  const QImage pic = a.ComposeFrame(0, key);
  EXPECT_EQ(key, MakeColor(255, 0, 0));
  EXPECT_EQ(qAlpha(pic.pixel(0, 0)), 0);
  EXPECT_EQ(pic.pixel(2, 0), qRgb(20, 200, 20));
}

// Qt's own GIF reader as the reference for what is left out: a transparent
// index one past a table of 2, 16 or 128 colours, and an image name of label
// 0xCE before the frame.
TEST(GifQImage, TransparencyAgreesWithQtsReader) {
  for (const int colours : {2, 16, 128}) {
    SCOPED_TRACE(colours);
    Bytes pixels;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 9; ++x) pixels.push_back(std::uint8_t((x + y) % 3 == 0 ? colours : (x * y) % colours));
    const Bytes file = TGifBuilder(9, 6, test::Palette(colours))
                           .Raw({0x21, 0xCE, 4, 'n', 'a', 'm', 'e', 0})
                           .Gce(1, 20, colours)
                           .Frame(0, 0, 9, 6, pixels, {}, false, colours == 2 ? 2 : 8)
                           .Build();
    QByteArray bytes(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "gif");
    const QImage qt = reader.read();
    if (qt.isNull()) GTEST_SKIP() << "Qt's GIF reader is not installed";

    TGIFAnimator a;
    TGIFImage img;
    img.LoadFromBytes(file);
    a.SetImage(img);
    TColor key;
    const QImage ours = a.ComposeFrame(0, key);
    ASSERT_EQ(ours.size(), qt.size());
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 9; ++x)
        EXPECT_EQ(qAlpha(ours.pixel(x, y)) == 0, qAlpha(qt.pixel(x, y)) == 0) << x << "," << y;
  }
}

}  // namespace
}  // namespace rasp

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
