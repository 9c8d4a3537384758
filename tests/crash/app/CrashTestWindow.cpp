#include "tests/crash/app/CrashTestWindow.h"

#include "app/RaspApplication.h"

#include "crash/CrashReporterApi.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <unistd.h>

void CrashTestNullWrite();

int CrashTestRunLoop(int argc, char** argv, const std::function<void()>& inLoop) {
  rasp::TRaspApplication app(argc, argv);
  QTimer::singleShot(0, &app, inLoop);
  QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(3); });
  return app.exec();
}

namespace {

struct TInputCounts {
  std::atomic<int> Keys{0}, Clicks{0}, Beeps{0}, PaintsInReport{0}, TicksInReport{0};
  std::atomic<bool> InReport{false};
};
TInputCounts Counts;
QWidget* InputTarget = nullptr;

class TCountingWidget : public QWidget {
protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), Qt::red);
    if (Counts.InReport) ++Counts.PaintsInReport;
  }
  void keyPressEvent(QKeyEvent*) override { ++Counts.Keys; }
  void keyReleaseEvent(QKeyEvent*) override { ++Counts.Keys; }
  void mousePressEvent(QMouseEvent*) override { ++Counts.Clicks; }
  void mouseReleaseEvent(QMouseEvent*) override { ++Counts.Clicks; }
};

} // namespace

// Runs in the report thread while the failing GUI thread waits.
void CrashTestInputWhileReporting(int step) {
  if (step != 9) return;
  Counts.InReport = true;
  QWidget* w = InputTarget;
  auto key = [w](Qt::Key k, const char* text) {
    QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, k, Qt::NoModifier, QString::fromLatin1(text)));
    QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyRelease, k, Qt::NoModifier, QString::fromLatin1(text)));
  };
  key(Qt::Key_A, "a");         // a character: beep
  key(Qt::Key_Return, "\r");   // so is Enter
  key(Qt::Key_Shift, "");      // no character: dropped quietly
  auto click = [w](Qt::MouseButton b) {
    const QPointF at(10, 10);
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, at, at, b, b, Qt::NoModifier));
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, at, at, b, Qt::NoButton, Qt::NoModifier));
  };
  click(Qt::LeftButton);   // beep
  click(Qt::RightButton);  // beep
  click(Qt::BackButton);   // dropped quietly
  QMetaObject::invokeMethod(w, [w] { w->update(); }, Qt::QueuedConnection);
  for (int i = 0; i < 500 && (Counts.Beeps < 4 || Counts.PaintsInReport < 1); ++i) usleep(10000);
  usleep(200000);  // anything else that would come
  Counts.InReport = false;
}

int CrashTestInputDuringReport(int argc, char** argv) {
  rasp::TRaspApplication app(argc, argv);
  app.OnReportBeep = [] { ++Counts.Beeps; };
  TCountingWidget w;
  w.resize(200, 100);
  w.show();
  InputTarget = &w;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [] {
    if (Counts.InReport) ++Counts.TicksInReport;
  });
  ticker.start(20);
  QTimer::singleShot(100, &app, [] { throw std::runtime_error("Failed with the window open"); });
  QTimer::singleShot(600, &app, [] { QCoreApplication::exit(0); });
  int rc = app.exec();
  std::printf("reports %d keys %d clicks %d beeps %d paints in report %d ticks in report %d\n",
              rasp::CrashReportCount(), Counts.Keys.load(), Counts.Clicks.load(), Counts.Beeps.load(),
              Counts.PaintsInReport.load(), Counts.TicksInReport.load());
  return rc;
}

namespace {
std::string ShotFile;
}

// After the dialog: what the user sees where it was.
void CrashTestShotWhileReporting(int step) {
  if (step != 10) return;
  usleep(700000);
  std::string command = "import -window root -depth 8 '" + ShotFile + "'";
  if (std::system(command.c_str()) != 0) std::printf("no screenshot\n");
}

int CrashTestRepaintDuringReport(int argc, char** argv, const std::string& shotFile, bool fault) {
  ShotFile = shotFile;
  rasp::TRaspApplication app(argc, argv);
  TCountingWidget w;
  w.setWindowFlag(Qt::FramelessWindowHint);
  w.setGeometry(app.primaryScreen()->geometry());
  w.show();
  if (fault)
    QTimer::singleShot(500, &app, [] { CrashTestNullWrite(); });
  else
    QTimer::singleShot(500, &app, [] { throw std::runtime_error("Failed with the window open"); });
  QTimer::singleShot(1000, &app, [] { QCoreApplication::exit(0); });
  return app.exec();
}

__attribute__((noinline)) void CrashTestStartQThread() {
  std::unique_ptr<QThread> t(QThread::create([] { CrashTestNullWrite(); }));
  t->start();
  t->wait();
}

void CrashTestQuitSoon() { QTimer::singleShot(0, [] { QCoreApplication::exit(0); }); }
void CrashTestLater(std::function<void()> fn) { QTimer::singleShot(0, std::move(fn)); }
