#pragma once
// What the GUI thread does while a crash report of its own runs: its
// windows keep painting, but the user's input does not reach them. A typed
// character or a press of the left, right or middle button is answered
// with a beep; every input event is dropped, so nothing typed or clicked
// during the report runs afterwards. Timers wait for the report to end; the
// program's posted calls run (a failure among them is reported after the
// current report). In the handler of a fault of the program's own code the
// windows only show again what they last drew.
#include <QObject>

#include <functional>

namespace rasp {

class TCrashReportPump : public QObject {
    Q_OBJECT
public:
    // beep: the platform's beep when empty.
    explicit TCrashReportPump(std::function<void()> beep, QObject* parent = nullptr);

    // One round: the pending events, input dropped.
    void Run();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> FBeep;
    int FLoopLevel = 0;
};

}  // namespace rasp
