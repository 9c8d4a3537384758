#pragma once
// The animator's frame timer: runs only while it is enabled, has a handler and
// a non-zero interval; every change re-arms it, so the next tick comes one
// full interval after the change.
#include <QObject>
#include <QTimer>
#include <functional>

namespace rasp {

class TAnimTimer : public QObject {
  Q_OBJECT
 public:
  explicit TAnimTimer(QObject* parent = nullptr);

  int Interval() const { return FInterval; }
  void SetInterval(int ms);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool on);
  void SetOnTimer(std::function<void()> handler);
  bool HasHandler() const { return bool(FOnTimer); }
  // True while ticks are actually being produced.
  bool Running() const { return FTimer.isActive(); }

 private:
  void Arm();

  QTimer FTimer;
  int FInterval = 1000;
  bool FEnabled = true;
  std::function<void()> FOnTimer;
};

}  // namespace rasp
