#include "tests/crash/app/CrashTestWindow.h"

#include "app/RaspApplication.h"

#include <QThread>
#include <QTimer>

#include <memory>

void CrashTestNullWrite();

int CrashTestRunLoop(int argc, char** argv, const std::function<void()>& inLoop) {
  rasp::TRaspApplication app(argc, argv);
  QTimer::singleShot(0, &app, inLoop);
  QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(3); });
  return app.exec();
}

__attribute__((noinline)) void CrashTestStartQThread() {
  std::unique_ptr<QThread> t(QThread::create([] { CrashTestNullWrite(); }));
  t->start();
  t->wait();
}

void CrashTestQuitSoon() { QTimer::singleShot(0, [] { QCoreApplication::exit(0); }); }
