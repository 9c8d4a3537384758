#pragma once
// One QApplication for the widget tests of this executable, and a way to act
// on the modal dialog that a call is about to open.

#include <QApplication>
#include <QTimer>

#include <functional>

namespace rasp::testing {

inline QApplication& GuiApp() {
    // A test main may own the application (it must go before the input devices do).
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
    static int argc = 1;
    static char name[] = "import_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// Runs `action` on the modal widget once it is shown (polling, so the call
// that opens it can be a blocking exec()). Deleting the returned timer
// withdraws the request.
template <typename Dialog>
QTimer* WhenModalShown(std::function<void(Dialog*)> action) {
    auto* timer = new QTimer(&GuiApp());
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
    return timer;
}

}  // namespace rasp::testing
