#include "app/CrashReportPump.h"

#include "crash/CrashReporterApi.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>

namespace rasp {

TCrashReportPump::TCrashReportPump(std::function<void()> beep, QObject* parent)
    : QObject(parent), FBeep(std::move(beep))
{
}

void TCrashReportPump::Run()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    FLoopLevel = QThread::currentThread()->loopLevel();
    app->installEventFilter(this);
    // Window-system events (expose, resize, input) and the program's posted
    // events are delivered, the input to this filter only; timers and
    // sockets wait.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
    app->removeEventFilter(this);
}

bool TCrashReportPump::eventFilter(QObject*, QEvent* event)
{
    // In the handler of a fault of our own code the windows only show again
    // what they last drew (a window uncovered by a closed dialog is flushed
    // from its backing store): nothing of the program's own runs there, not
    // even a new paint of the widget that may just have failed.
    if (CrashPumpInFault()) {
        switch (event->type()) {
        case QEvent::MetaCall:
        case QEvent::DeferredDelete:
        case QEvent::UpdateRequest:
        case QEvent::UpdateLater:
        case QEvent::Timer:
        case QEvent::LayoutRequest:
            return true;
        default:
            break;
        }
    }
    // A dialog of the program's own opened meanwhile runs its loop inside
    // ours: it takes its input, or it could never be closed.
    if (QThread::currentThread()->loopLevel() > FLoopLevel)
        return false;
    bool beep = false;
    switch (event->type()) {
    case QEvent::KeyPress:
        // A key that types a character (Enter, Backspace and Escape too).
        beep = !static_cast<QKeyEvent*>(event)->text().isEmpty();
        break;
    case QEvent::MouseButtonPress: {
        const Qt::MouseButton b = static_cast<QMouseEvent*>(event)->button();
        beep = b == Qt::LeftButton || b == Qt::RightButton || b == Qt::MiddleButton;
        break;
    }
    case QEvent::ShortcutOverride:
        // Taken by the focused control, so no shortcut is looked for.
        event->accept();
        break;
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::HoverMove:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
        break;
    default:
        return false;
    }
    if (beep) {
        if (FBeep)
            FBeep();
        else
            QApplication::beep();
    }
    return true;
}

}  // namespace rasp
