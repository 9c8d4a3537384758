#pragma once
// A Wayland session of its own for tests: weston with its X server for X11
// programs (XWayland), on a socket and runtime folder of its own, drawing with
// the CPU renderer so that its output can be photographed. Stopped, with
// everything it started, when the object goes.
//
// weston draws into a window of a private Xvfb rather than on its headless
// backend: the headless backend has no input devices, and input sent to the
// XWayland server directly (XTEST) makes XWayland 22 abort. In Xvfb the
// compositor has a seat with a pointer and a keyboard, so that input
// (xdotool on that Xvfb) enters the compositor as a user's would and reaches
// the programs through it.

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>

class TWestonSession {
public:
    TWestonSession() = default;
    ~TWestonSession();
    TWestonSession(const TWestonSession&) = delete;
    TWestonSession& operator=(const TWestonSession&) = delete;

    // False, with Error() saying why, when the compositor or its X server
    // does not come up.
    bool Start(QSize output);
    const QString& Error() const { return FError; }

    QString RuntimeDir() const { return FDir.path(); }
    const QString& Socket() const { return FSocket; }
    const QString& X11Display() const { return FX11Display; }
    // The display whose pointer and keyboard are the compositor's.
    const QString& InputDisplay() const { return FInputDisplay; }

    // The compositor's output as it would go to the screen (its own
    // screenshooter), or a null image with Error() set.
    QImage Screenshot();
    // Runs a program with the given environment to its end; false when it
    // fails.
    bool Run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
             QByteArray* out = nullptr);
    // Moves the compositor's pointer, clicks, types: xdotool on InputDisplay().
    bool Input(const QStringList& xdotoolArguments);
    // Puts the compositor's pointer at a point of its output.
    bool MovePointer(QPoint to);
    // The environment of a program in this session: both displays, the
    // runtime folder, XDG_SESSION_TYPE=wayland, no QT_QPA_PLATFORM.
    QProcessEnvironment Environment(bool withX11 = true) const;

private:
    bool StartXvfb(QSize output);
    static void Stop(QProcess& p);

    QTemporaryDir FDir;
    QProcess FXvfb;
    QProcess FWeston;
    QString FInputDisplay;
    QString FSocket;
    QString FX11Display;
    QString FError;
    int FShots = 0;
    int FOutputWidth = 0;
};
