// The real window in a real Wayland session: weston with its X server
// (XWayland) started here, the window made after the same platform choice as
// the program's, input given to the compositor (xdotool on its Xvfb) as a
// user's would arrive, and what the user sees read from the compositor's own
// screenshots. Each check compares the compositor's picture with what the
// program drew for the window in question, at the place the program put it:
// a menu, list or box that the compositor showed elsewhere (or not at all)
// fails. With RASP_SHOT_DIR set the screenshots are kept there.
//
// Skipped (exit 77) when weston is not installed; Xvfb and xdotool are
// needed as well (tools/install-deps.sh installs all of them).

#include "app/MainWindow.h"
#include "app/RaspApplication.h"
#include "platform/display/DisplayPlatform.h"
#include "skin/bsFrameGeometry.h"
#include "skin/bsSkinForm.h"
#include "skin/bsSkinMenu.h"
#include "skinctrls/TbsMessageForm.h"
#include "skinctrls/TbsPopupListBox.h"
#include "skinctrls/TbsSkinComboBox.h"
#include "skinctrls/TbsSkinMessage.h"
#include "tests/wayland/WestonSession.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QLocale>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace rasp;

namespace {

constexpr QSize kOutput(1024, 768);

TWestonSession* Session = nullptr;
TDisplayChoice Choice;

void Keep(const QImage& shot, const QString& name)
{
    const QString dir = QString::fromLocal8Bit(qgetenv("RASP_SHOT_DIR"));
    if (!dir.isEmpty())
        shot.save(QDir(dir).filePath(name));
}

// Where the compositor draws its pointer: left out of the comparisons.
QRect PointerSprite;

// Share of the points of `drawn` (inside `shape`, window coordinates) that
// the compositor's picture shows at `at` on the output.
double Agreement(const QImage& shot, const QImage& drawn, QPoint at, const QRegion& shape)
{
    int same = 0, compared = 0;
    for (int y = 0; y < drawn.height(); y += 2)
        for (int x = 0; x < drawn.width(); x += 2) {
            const QPoint p = at + QPoint(x, y);
            if (!shape.contains(QPoint(x, y)) || !shot.rect().contains(p) || PointerSprite.contains(p))
                continue;
            ++compared;
            same += shot.pixel(p) == drawn.pixel(x, y);
        }
    return compared ? double(same) / compared : 0.0;
}

// What the program draws for a window: the pixels the compositor should
// show. (XWayland answers a copy of a window's pixels with black.)
QImage Drawn(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QRegion Shape(const QWidget& w) { return w.mask().isEmpty() ? QRegion(w.rect()) : w.mask(); }

struct TSeen {
    QImage Shot;
    double Agreement = 0;
    QPoint At;  // where the compositor shows the window
};

// Screenshots until `place` finds the window's pixels in one (agreement over
// 0.99), for a few seconds at most: the compositor composes a little after
// the X server has the pixels.
TSeen ShotUntilFound(QWidget& w, const std::function<void(TSeen&, const QImage& drawn)>& place)
{
    TSeen seen;
    for (int i = 0; i < 25 && seen.Agreement < 0.99; ++i) {
        QTest::qWait(i ? 200 : 50);
        seen.Shot = Session->Screenshot();
        if (seen.Shot.isNull())
            break;
        place(seen, Drawn(w));
    }
    return seen;
}

// The window's pixels where the program put it, or up to `slack` pixels from
// there (a window manager's frame).
TSeen ShotShowing(QWidget& w, int slack = 0)
{
    return ShotUntilFound(w, [&w, slack](TSeen& seen, const QImage& drawn) {
        for (int dy = -slack; dy <= slack; ++dy)
            for (int dx = -slack; dx <= slack; ++dx) {
                const QPoint at = w.geometry().topLeft() + QPoint(dx, dy);
                const double a = Agreement(seen.Shot, drawn, at, Shape(w));
                if (a > seen.Agreement)
                    seen.Agreement = a, seen.At = at;
            }
    });
}

bool Xdotool(const QStringList& arguments)
{
    const bool ok = Session->Input(arguments);
    if (!ok)
        ADD_FAILURE() << Session->Error().toStdString();
    return ok;
}

// Moves the pointer there, and clicks once the program has seen it arrive
// (through the compositor and XWayland).
bool Click(QPoint global, int button)
{
    PointerSprite = QRect(global - QPoint(2, 2), QSize(32, 36));
    if (!Session->MovePointer(global)) {
        ADD_FAILURE() << Session->Error().toStdString();
        return false;
    }
    if (!QTest::qWaitFor([global] { return QCursor::pos() == global; }, 5000)) {
        ADD_FAILURE() << "the pointer does not reach " << global.x() << "," << global.y();
        return false;
    }
    return Xdotool({QStringLiteral("click"), QString::number(button)});
}

bool Key(const QString& key) { return Xdotool({QStringLiteral("key"), key}); }

template <class T> T* VisibleTopLevel()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = dynamic_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}

class WaylandSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMainWindowOptions options;
        options.ProgramDir = FDir.path();
        options.CheckUpdates = false;
        FWindow = std::make_unique<TfrmMain>(options);
        FWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(FWindow.get()));
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == FWindow.get(); }, 5000));
        PointerSprite = {};
        FShown = ShotShowing(*FWindow);
        ASSERT_FALSE(FShown.Shot.isNull()) << Session->Error().toStdString();
        ASSERT_GT(FShown.Agreement, 0.99) << "the compositor does not show the window where it stands";
    }

    QTemporaryDir FDir;
    std::unique_ptr<TfrmMain> FWindow;
    TSeen FShown;
};

}  // namespace

// The window program's own choice, made the same way here: XWayland, and
// the environment left as it was for the programs the window starts.
TEST(WaylandPlatform, TheSessionRunsThroughItsXServer)
{
    EXPECT_EQ(Choice.Route, TDisplayRoute::XWayland);
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    EXPECT_TRUE(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"));
}

// The window stands centred on the output, as the compositor shows it.
TEST_F(WaylandSession, TheWindowShowsCentred)
{
    Keep(FShown.Shot, QStringLiteral("wayland-window.png"));
    const QRect screen = FWindow->screen()->availableGeometry();
    EXPECT_LE((FWindow->geometry().center() - screen.center()).manhattanLength(), 2)
        << FWindow->geometry().x() << "," << FWindow->geometry().y();
}

TEST_F(WaylandSession, RightClickOnTheCaptionOpensTheSystemMenuAtThePointerAndEscapeClosesIt)
{
    TbsSkinForm* form = FWindow->bsSkinForm1;
    ASSERT_NE(form, nullptr);
    // A point of the caption between the icon and the buttons.
    QPoint local(FWindow->width() / 3, 0);
    while (local.y() < 60 && form->HitTest(local) != bsHtCaption)
        ++local.ry();
    ASSERT_EQ(form->HitTest(local), bsHtCaption);
    const QPoint at = FWindow->mapToGlobal(local);
    ASSERT_TRUE(Click(at, 3));

    TbsSkinPopupWindow* menu = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (menu = VisibleTopLevel<TbsSkinPopupWindow>()) != nullptr; }, 5000))
        << "no system menu";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    EXPECT_EQ(menu->geometry().topLeft(), at);
    const TSeen seen = ShotShowing(*menu);
    Keep(seen.Shot, QStringLiteral("wayland-system-menu.png"));
    EXPECT_GT(seen.Agreement, 0.99) << "the compositor does not show the menu at the click";

    ASSERT_TRUE(Key(QStringLiteral("Escape")));
    EXPECT_TRUE(QTest::qWaitFor([] { return VisibleTopLevel<TbsSkinPopupWindow>() == nullptr; }, 5000));
    const TSeen after = ShotShowing(*FWindow);
    Keep(after.Shot, QStringLiteral("wayland-system-menu-closed.png"));
    EXPECT_GT(after.Agreement, 0.99) << "the window is not whole again where the menu was";
}

TEST_F(WaylandSession, TheUnitBoxOpensItsListUnderTheBox)
{
    TbsSkinComboBox* box = FWindow->cbxType;
    ASSERT_TRUE(Click(box->mapToGlobal(box->rect().center()), 1));
    ASSERT_TRUE(QTest::qWaitFor([box] { return box->DroppedDown(); }, 5000)) << "the list does not open";
    TbsPopupListBox* list = box->ListBox();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    const QRect field(box->mapToGlobal(QPoint(0, 0)), box->size());
    EXPECT_EQ(list->geometry().top(), field.bottom() + 1);
    EXPECT_EQ(list->geometry().left(), field.left());
    const TSeen seen = ShotShowing(*list);
    Keep(seen.Shot, QStringLiteral("wayland-unit-list.png"));
    EXPECT_GT(seen.Agreement, 0.99) << "the compositor does not show the list under the box";

    ASSERT_TRUE(Key(QStringLiteral("Escape")));
    EXPECT_TRUE(QTest::qWaitFor([box] { return !box->DroppedDown(); }, 5000));
}

// Where the compositor shows the window's pixels anywhere in `area` of the
// output: the compositor places a transient window itself. A few points
// spread over the window rule out most places before a full comparison.
TSeen ShotShowingIn(QWidget& w, const QRect& area)
{
    return ShotUntilFound(w, [&w, &area](TSeen& seen, const QImage& drawn) {
        QList<QPoint> probes;
        for (int y = 1; y < 8; y += 2)
            for (int x = 1; x < 8; x += 2)
                probes.append(QPoint(drawn.width() * x / 8, drawn.height() * y / 8));
        const QRect places = area.intersected(seen.Shot.rect()).adjusted(0, 0, -drawn.width(), -drawn.height());
        for (int y = places.top(); y <= places.bottom(); ++y)
            for (int x = places.left(); x <= places.right(); ++x) {
                const QPoint at(x, y);
                const bool alike = std::all_of(probes.begin(), probes.end(), [&](QPoint p) {
                    return PointerSprite.contains(at + p) || seen.Shot.pixel(at + p) == drawn.pixel(p);
                });
                if (!alike)
                    continue;
                const double a = Agreement(seen.Shot, drawn, at, Shape(w));
                if (a > seen.Agreement)
                    seen.Agreement = a, seen.At = at;
            }
    });
}

// The compositor places the box (a transient of the window) where it likes;
// what counts is that it shows it over the window and that the user's click
// on its OK button answers it.
TEST_F(WaylandSession, AMessageBoxAppearsOverTheWindow)
{
    bool seen = false;
    QTimer::singleShot(0, FWindow.get(), [&] {
        TbsMessageForm* box = nullptr;
        if (!QTest::qWaitFor([&] { return (box = VisibleTopLevel<TbsMessageForm>()) != nullptr; }, 5000) ||
            !QTest::qWaitForWindowExposed(box)) {
            ADD_FAILURE() << "no message box";
            return;
        }
        seen = true;
        const TSeen shown = ShotShowingIn(*box, FWindow->geometry());
        Keep(shown.Shot, QStringLiteral("wayland-message-box.png"));
        EXPECT_GT(shown.Agreement, 0.99) << "the compositor does not show the box over the window";
        if (shown.Agreement > 0.99) {
            auto* ok = box->findChild<QWidget*>(QStringLiteral("OK"));
            if (ok)
                Click(shown.At + ok->mapTo(box, ok->rect().center()), 1);
            else
                ADD_FAILURE() << "the box has no OK button";
        }
        // Never left waiting on a box that input did not reach.
        if (!QTest::qWaitFor([&] { return !box->isVisible(); }, 5000)) {
            ADD_FAILURE() << "the click on OK does not answer the box";
            box->done(mrOk);
        }
    });
    const int answer = FWindow->msgMain->MessageDlg(QStringLiteral("Shown in a Wayland session."), mtInformation,
                                                    {mbOK}, 0);
    EXPECT_TRUE(seen);
    EXPECT_EQ(answer, mrOk);
}

namespace {

// Runs the real program in the session, in a network of its own so that
// its silent update check reaches no one.
class ProgramRun {
public:
    explicit ProgramRun(const QProcessEnvironment& env)
    {
        FProcess.setProcessEnvironment(env);
        FProcess.start(QStringLiteral("unshare"),
                       {QStringLiteral("--net"), QStringLiteral("--"), QStringLiteral(TELLIVO_RASP_BINARY)});
    }
    ~ProgramRun()
    {
        if (FProcess.state() != QProcess::NotRunning) {
            FProcess.terminate();
            if (!FProcess.waitForFinished(10000))
                FProcess.kill();
            FProcess.waitForFinished(5000);
        }
    }
    QProcess& Process() { return FProcess; }

private:
    QProcess FProcess;
};

bool CanIsolate()
{
    return QProcess::execute(QStringLiteral("unshare"), {QStringLiteral("--net"), QStringLiteral("true")}) == 0;
}

// Pixels of the compositor's picture that are not its background.
int Covered(const QImage& shot)
{
    if (shot.isNull())
        return 0;
    const QRgb background = shot.pixel(0, 0);
    int n = 0;
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4)
            n += shot.pixel(x, y) != background;
    return n * 16;
}

// Screenshots until at least `area` pixels show something other than the
// background, for a few seconds or while `alive` holds.
QImage ShotCovered(int area, const std::function<bool()>& alive)
{
    QImage shot;
    for (int i = 0; i < 150 && Covered(shot) < area && alive(); ++i) {
        QTest::qWait(200);
        shot = Session->Screenshot();
    }
    return shot;
}

// A window the size of the main window, and nothing else of the test's.
constexpr int kWindowArea = 300000;

bool ScreenEmpty()
{
    return QTest::qWaitFor([] { return Covered(Session->Screenshot()) < 10000; }, 5000);
}

}  // namespace

// tellivo-rasp itself, as the desktop entry starts it in a Wayland session:
// its window is an X11 window of the session's X server.
TEST(WaylandProgram, TheProgramChoosesTheXServerItself)
{
    if (!CanIsolate())
        GTEST_SKIP() << "unshare --net is not allowed here; the program's update check would leave the machine";
    ASSERT_TRUE(ScreenEmpty());
    ProgramRun run(Session->Environment());
    ASSERT_TRUE(run.Process().waitForStarted(10000));
    const QString pid = QString::number(run.Process().processId());
    bool shown = false;
    for (int i = 0; i < 150 && !shown && run.Process().state() == QProcess::Running; ++i) {
        QTest::qWait(200);
        shown = Session->Run(QStringLiteral("xdotool"),
                             {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), pid},
                             Session->Environment());
    }
    EXPECT_TRUE(shown) << "no X11 window of the program: " << run.Process().readAllStandardError().toStdString();
    const QImage shot = ShotCovered(kWindowArea, [&] { return shown; });
    Keep(shot, QStringLiteral("wayland-program.png"));
    EXPECT_GT(Covered(shot), kWindowArea) << "the compositor does not show the program's window";
    EXPECT_TRUE(run.Process().readAllStandardError().isEmpty());
}

// Without an X server the program runs on Wayland itself where Qt can,
// saying so; where it cannot it says why and ends.
TEST(WaylandProgram, WithoutAnXServerTheProgramSaysWhatItDoes)
{
    if (!CanIsolate())
        GTEST_SKIP() << "unshare --net is not allowed here; the program's update check would leave the machine";
    ASSERT_TRUE(ScreenEmpty());
    ProgramRun run(Session->Environment(false));
    QProcess& p = run.Process();
    ASSERT_TRUE(p.waitForStarted(10000));
    if (!CurrentDisplayEnvironment().WaylandPlugin) {
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 2);
        EXPECT_TRUE(p.readAllStandardError().contains("qt6-wayland"));
        return;
    }
    QByteArray err;
    const QByteArray note = "tellivo-rasp: this Wayland session has no X server";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            err += p.readAllStandardError();
            return err.contains(note) || p.state() != QProcess::Running;
        },
        30000));
    EXPECT_TRUE(err.contains(note)) << err.toStdString();
    const QImage shot = ShotCovered(kWindowArea, [&] { return p.state() == QProcess::Running; });
    Keep(shot, QStringLiteral("wayland-native.png"));
    EXPECT_GT(Covered(shot), kWindowArea) << "the compositor shows no window of the program";
}

// The crash dialog helper makes the same choice: its dialog is an X11
// window of the session's X server, on the compositor's screen.
TEST(WaylandProgram, TheCrashDialogHelperChoosesTheXServerToo)
{
    ASSERT_TRUE(ScreenEmpty());
    QProcess p;
    QProcessEnvironment env = Session->Environment();
    env.insert(QStringLiteral("RASP_CRASH_DIALOG_AUTOCLOSE"), QStringLiteral("20000"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(RASP_CRASH_DIALOG_HELPER), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    p.write("rasp-crash-dialog 2\nmode steps\nend\n");
    QByteArray out;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            out += p.readAllStandardOutput();
            return out.contains("shown\n") || p.state() != QProcess::Running;
        },
        30000));
    ASSERT_TRUE(out.contains("shown\n")) << out.toStdString() << p.readAllStandardError().toStdString();
    EXPECT_TRUE(Session->Run(QStringLiteral("xdotool"),
                             {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                              QString::number(p.processId())},
                             Session->Environment()))
        << "no X11 window of the crash dialog helper";
    const QImage shot = ShotCovered(20000, [] { return true; });
    Keep(shot, QStringLiteral("wayland-crash-dialog.png"));
    EXPECT_GT(Covered(shot), 20000) << "the compositor does not show the crash dialog";
    p.terminate();
    p.waitForFinished(10000);
}

int main(int argc, char** argv)
{
    if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty()) {
        std::puts("SKIPPED: weston is not installed (tools/install-deps.sh installs weston and xwayland)");
        return 77;
    }
    TWestonSession session;
    if (!session.Start(kOutput)) {
        std::fprintf(stderr, "the Wayland session does not start: %s\n", qPrintable(session.Error()));
        return 1;
    }
    Session = &session;
    // This process is a program of the session.
    const QProcessEnvironment env = session.Environment();
    for (const char* name : {"XDG_RUNTIME_DIR", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "DISPLAY"})
        qputenv(name, env.value(QString::fromLatin1(name)).toLocal8Bit());
    qunsetenv("QT_QPA_PLATFORM");

    QLocale::setDefault(QLocale::c());
    Choice = ChooseDisplay(CurrentDisplayEnvironment());
    TQtPlatformSetting platform(Choice);
    TRaspApplication app(argc, argv);
    platform.Restore();
    app.ErrorBox().SetAnswerHook([](const TMessageRequest& r) {
        ADD_FAILURE() << "message shown: " << r.Text.toStdString();
        return mrOk;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
