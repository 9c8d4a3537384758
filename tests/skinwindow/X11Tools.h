#pragma once
// What the X server itself says about our windows, and a mouse driven as a
// user's is (XTEST, through xdotool), for the tests of the real window under
// Xvfb with or without a window manager.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QWindow>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace rasp::x11 {

// Runs a tool to its end while this program keeps handling its events (the
// tool may wait for our windows to react). The tool's standard output.
// Generous times: the machine may be busy with other builds.
inline std::optional<QString> Run(const QString& program, const QStringList& args, int timeoutMs = 30000)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(20000)) {
        std::fprintf(stderr, "%s did not start\n", qPrintable(program));
        return std::nullopt;
    }
    const QDeadlineTimer deadline(timeoutMs);
    // The event loop may see the tool end first: ask the state, not the wait.
    while (p.state() != QProcess::NotRunning && !p.waitForFinished(5)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (deadline.hasExpired()) {
            std::fprintf(stderr, "%s %s did not finish\n", qPrintable(program), qPrintable(args.join(u' ')));
            p.kill();
            p.waitForFinished(1000);
            return std::nullopt;
        }
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "%s %s failed: %s\n", qPrintable(program), qPrintable(args.join(u' ')),
                     p.readAllStandardError().constData());
        return std::nullopt;
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Handles events for a while: the server and a window manager answer.
inline void Settle(int ms = 300)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

// The window's place and size on the screen as xwininfo reports them.
inline QRect Geometry(WId window)
{
    const auto out = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    if (!out)
        return {};
    auto field = [&](const char* name) {
        const QRegularExpression re(QStringLiteral("%1:\\s+(-?\\d+)").arg(QString::fromLatin1(name)));
        return re.match(*out).captured(1).toInt();
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

// One property of a window as xprop prints it ("NAME(TYPE) = value").
inline QString Property(WId window, const char* name)
{
    const auto out = Run(QStringLiteral("xprop"),
                         {QStringLiteral("-id"), QString::number(window), QString::fromLatin1(name)});
    return out ? out->trimmed() : QString();
}

inline bool Xdo(const QStringList& args) { return Run(QStringLiteral("xdotool"), args).has_value(); }

inline bool MoveTo(QPoint p)
{
    const bool ok = Xdo({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
    Settle(60);
    return ok;
}

// Presses the left button at from, moves to `to` in steps and lets go, with
// time between for the program (and a window manager) to follow.
inline bool Drag(QPoint from, QPoint to, int steps = 8)
{
    if (!MoveTo(from))
        return false;
    Xdo({QStringLiteral("mousedown"), QStringLiteral("1")});
    Settle(200);
    for (int i = 1; i <= steps; ++i)
        MoveTo(from + (to - from) * i / steps);
    Settle(100);
    const bool ok = Xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
    Settle(300);
    return ok;
}

inline bool Click(QPoint at)
{
    if (!MoveTo(at))
        return false;
    const bool ok = Xdo({QStringLiteral("click"), QStringLiteral("1")});
    Settle(200);
    return ok;
}

// What a run lacks to drive the screen; empty when everything is there.
inline QString Missing()
{
    for (const char* tool : {"xdotool", "xwininfo", "xprop"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
    return {};
}

// A window manager for the run, named by RASP_WINDOW_MANAGER, started
// before the program connects to the server (so that the program sees it
// from its first request on) and ended with this object.
class TWindowManager {
public:
    // Exit status ctest reads as "skipped".
    static constexpr int SkipCode = 77;

    // False with a reason when one was asked for and cannot run.
    bool Start(std::string& why)
    {
        const char* wanted = std::getenv("RASP_WINDOW_MANAGER");
        if (!wanted || !*wanted)
            return true;
        const std::string name = wanted;
        char* const argv[] = {const_cast<char*>(name.c_str()), nullptr};
        if (::posix_spawnp(&FPid, name.c_str(), nullptr, nullptr, argv, environ) != 0) {
            FPid = -1;
            why = name + " is not installed";
            return false;
        }
        // Ready once it has claimed the screen.
        for (int i = 0; i < 400; ++i) {
            int status = 0;
            if (::waitpid(FPid, &status, WNOHANG) == FPid) {
                FPid = -1;
                why = name + " could not run";
                return false;
            }
            if (FILE* probe = ::popen("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null", "r")) {
                char line[256] = {};
                const bool claimed = std::fgets(line, sizeof line, probe) && std::strstr(line, "window id");
                ::pclose(probe);
                if (claimed)
                    return true;
            }
            ::usleep(25000);
        }
        why = name + " did not take the screen";
        return false;
    }
    ~TWindowManager()
    {
        if (FPid <= 0)
            return;
        ::kill(FPid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (::waitpid(FPid, nullptr, WNOHANG) == FPid)
                return;
            ::usleep(20000);
        }
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
    }

private:
    pid_t FPid = -1;
};

}  // namespace rasp::x11
