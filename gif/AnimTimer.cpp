#include "gif/AnimTimer.h"

namespace rasp {

TAnimTimer::TAnimTimer(QObject* parent) : QObject(parent) {
  FTimer.setTimerType(Qt::PreciseTimer);
  connect(&FTimer, &QTimer::timeout, this, [this] {
    if (FEnabled && FOnTimer) FOnTimer();
  });
}

void TAnimTimer::SetInterval(int ms) {
  FInterval = ms < 0 ? 0 : ms;
  Arm();
}

void TAnimTimer::SetEnabled(bool on) {
  FEnabled = on;
  Arm();
}

void TAnimTimer::SetOnTimer(std::function<void()> handler) {
  FOnTimer = std::move(handler);
  Arm();
}

void TAnimTimer::Arm() {
  // A zero interval means "no ticks", never a busy loop.
  if (FEnabled && FOnTimer && FInterval > 0)
    FTimer.start(FInterval);
  else
    FTimer.stop();
}

}  // namespace rasp
