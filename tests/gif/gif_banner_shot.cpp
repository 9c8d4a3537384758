// Plays an animated 468 x 60 banner in a small window and saves screenshots of
// two different frames, taken from the screen itself.
//   gif_banner_shot OUT_DIR [banner.gif]
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "gif/GIFAnimator.h"
#include "tests/gif/GifBuilder.h"

namespace {

using rasp::TRGB;
using rasp::test::Bytes;

// 16 colours the banner is drawn with.
const std::vector<TRGB> kPalette = {
    {255, 255, 255}, {0, 0, 0},       {20, 60, 140},  {40, 90, 180},  {70, 130, 210}, {120, 170, 230},
    {250, 200, 40},  {240, 120, 30},  {200, 40, 40},  {40, 160, 80},  {90, 200, 120}, {230, 230, 230},
    {160, 160, 160}, {100, 100, 100}, {255, 240, 180}, {30, 30, 60}};

Bytes Quantise(const QImage& img) {
  Bytes px;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      int best = 0, bestDist = 1 << 30;
      for (std::size_t i = 0; i < kPalette.size(); ++i) {
        const int dr = qRed(c) - kPalette[i].r, dg = qGreen(c) - kPalette[i].g, db = qBlue(c) - kPalette[i].b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) bestDist = d, best = int(i);
      }
      px.push_back(std::uint8_t(best));
    }
  return px;
}

Bytes MakeBanner() {
  rasp::test::TGifBuilder gif(468, 60, kPalette);
  gif.Loop(0);
  const int frames = 12;
  for (int f = 0; f < frames; ++f) {
    QImage img(468, 60, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(img.rect(), QColor(20, 60, 140));
    for (int band = 0; band < 6; ++band)
      p.fillRect(QRect(band * 90 - f * 7, 0, 45, 60), QColor(40, 90, 180));
    p.setPen(QColor(255, 255, 255));
    QFont font("Liberation Sans", 20, QFont::Bold);
    p.setFont(font);
    p.drawText(QRect(20, 2, 330, 36), Qt::AlignVCenter, "Duplicate content?");
    p.setBrush(QColor(250, 200, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(300 + f * 12, 30), 14, 14);
    p.setPen(QColor(250, 200, 40));
    font.setPointSize(11);
    p.setFont(font);
    p.drawText(QRect(22, 38, 300, 20), Qt::AlignLeft, QString("Frame %1 of %2").arg(f + 1).arg(frames));
    p.end();
    gif.Gce(1, 15).Frame(0, 0, 468, 60, Quantise(img));
  }
  return gif.Build();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: gif_banner_shot OUT_DIR [banner.gif]\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);

  QWidget window;
  window.setWindowTitle("Banner test");
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel("The banner strip:", &window));
  auto* banner = new rasp::TGIFAnimator(&window);
  banner->setCursor(Qt::PointingHandCursor);
  try {
    if (argc > 2)
      banner->LoadFromFile(QString::fromLocal8Bit(argv[2]));
    else
      banner->LoadFromBytes(MakeBanner());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cannot load the banner: %s\n", e.what());
    return 1;
  }
  banner->setFixedSize(banner->size());
  layout->addWidget(banner);
  window.show();
  banner->SetAnimate(true);

  int saved = 0;
  auto shoot = [&](int index) {
    // Let the repaint reach the screen before it is read back.
    QTimer::singleShot(30, &window, [&, index] {
      const QPixmap shot = window.screen()->grabWindow(0, window.x(), window.y(), window.frameGeometry().width(),
                                                       window.frameGeometry().height());
      const QString file = QString("%1/banner-frame%2.png").arg(out).arg(index);
      if (shot.save(file)) std::printf("saved %s\n", qPrintable(file));
      if (++saved == 2) app.quit();
    });
  };
  QObject::connect(banner, &rasp::TGIFAnimator::OnFrameChanged, &window, [&] {
    if (banner->FrameIndex() == 2 || banner->FrameIndex() == 8) shoot(banner->FrameIndex());
  });
  QTimer::singleShot(15000, &app, [&] { app.exit(1); });
  return app.exec();
}
