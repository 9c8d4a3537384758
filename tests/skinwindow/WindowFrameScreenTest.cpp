// The real window and its dialogs as the X server has them, driven with the
// mouse through XTEST, with the built-in and the dark skin; run once bare
// and once under a window manager (RASP_WINDOW_MANAGER). The window's size
// is read back with xwininfo, the frames' pixels from the screen. With
// RASP_SHOT_DIR set the screenshots are kept there.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"
#include "skin/bsSkinCaptionObjects.h"
#include "skinctrls/TbsMessageForm.h"
#include "skinctrls/TbsOpenDlgForm.h"
#include "tests/app/LayoutWalk.h"
#include "tests/skinwindow/WindowTestMain.h"
#include "tests/skinwindow/X11Tools.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

QString SourceDir() { return QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")); }
bool UnderWindowManager() { return !qEnvironmentVariableIsEmpty("RASP_WINDOW_MANAGER"); }

QString ShotName(const QString& name)
{
    return UnderWindowManager() ? name + "-" + qEnvironmentVariable("RASP_WINDOW_MANAGER") + ".png" : name + ".png";
}

QImage Screen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

void Keep(const QImage& screen, const QRect& area, const QString& name)
{
    const QString dir = QString::fromLocal8Bit(qgetenv("RASP_SHOT_DIR"));
    if (!dir.isEmpty())
        screen.copy(area).save(QDir(dir).filePath(ShotName(name)));
}

QSize Grown(QSize client, const TbsMargins& m) { return client + QSize(m.Left + m.Right, m.Top + m.Bottom); }

// The client area as the window's content fills it: from the top of the
// tool strip to the bottom of the footer.
QRect ClientOf(const TfrmMain& w)
{
    return QRect(w.bsSkinPanel1->geometry().topLeft(), w.bsSkinPanel4->geometry().bottomRight());
}

class WindowFrameScreen : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server";
        if (const QString missing = x11::Missing(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString() << ": the screen is not driven";
        ASSERT_TRUE(dir.isValid());
        if (Dark()) {
            ASSERT_TRUE(QFile::copy(SourceDir() + "/samples/skins/dbskin.dat", dir.filePath("dbskin.dat")));
            QFile settings(dir.filePath("dbconfig.dat"));
            ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
            settings.write("[Settings]\r\n");
        }
        TMainWindowOptions options;
        options.ProgramDir = dir.path();
        options.CheckUpdates = false;
        window = std::make_unique<TfrmMain>(options);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        x11::Settle(400);
        if (Dark()) {
            ASSERT_EQ(window->bsSkinData1->skinname, "Tellivo Dark");
        }
    }
    void TearDown() override { window.reset(); }

    bool Dark() const { return std::string(GetParam()) == "dark"; }
    QString Skin() const { return QString::fromLatin1(GetParam()); }
    TbsMargins Frame() const { return window->bsSkinForm1->NonClient(); }
    QRect Reported() const { return x11::Geometry(window->winId()); }

    QTemporaryDir dir;
    std::unique_ptr<TfrmMain> window;
};

}  // namespace

TEST_P(WindowFrameScreen, TheClientIsTheDesignSizeWithTheSkinsFrameAround)
{
    const TbsMargins m = Frame();
    if (!Dark()) {
        EXPECT_EQ(m, (TbsMargins{4, 30, 4, 4}));
    }
    const QRect reported = Reported();
    EXPECT_EQ(reported.size(), Grown(QSize(753, 520), m));
    if (!Dark()) {
        EXPECT_EQ(reported.size(), QSize(761, 554));
    }
    EXPECT_EQ(ClientOf(*window), QRect(m.Left, m.Top, 753, 520));
    // Centred on the screen.
    const QPoint off = reported.center() - window->screen()->availableGeometry().center();
    EXPECT_LE(std::abs(off.x()), 1);
    EXPECT_LE(std::abs(off.y()), 1);
    // The layout rules hold for the outer width and the client.
    EXPECT_EQ(window->panLeft->width(), reported.width() / 2 - 10);
    EXPECT_EQ(window->cbxType->x(), 596);
}

TEST_P(WindowFrameScreen, ALaterSkinKeepsTheClientSizeAndMaximiseAndRestoreKeepTheirRules)
{
    // The user's size first, then the other skin.
    window->resize(Grown(QSize(800, 560), Frame()));
    x11::Settle();
    TbsSkinData other;
    const QString otherFile = SourceDir() + "/samples/skins/dbskin.dat";
    if (Dark()) {
        window->bsSkinData1->SetCompressedStoredSkin(window->bsCompressedStoredSkin1);
    } else {
        ASSERT_TRUE(window->bsSkinData1->LoadCompressedSkinFile(otherFile));
    }
    x11::Settle();
    EXPECT_EQ(window->bsSkinData1->skinname, Dark() ? "Tellivo Light" : "Tellivo Dark");
    EXPECT_EQ(ClientOf(*window).size(), QSize(800, 560));
    const QRect reported = Reported();
    EXPECT_EQ(reported.size(), Grown(QSize(800, 560), Frame()));
    EXPECT_EQ(window->panLeft->width(), reported.width() / 2 - 10);

    window->bsSkinForm1->Maximize();
    x11::Settle();
    QRect expected = window->screen()->availableGeometry();
    if (expected == window->screen()->geometry())
        expected.adjust(1, 1, -1, -1);
    EXPECT_EQ(Reported(), expected);
    EXPECT_EQ(window->panLeft->width(), expected.width() / 2 - 10);
    // Right-anchored footer controls follow the right edge.
    const int client = expected.width() - Frame().Left - Frame().Right;
    EXPECT_EQ(window->cbxType->x(), 596 + client - 753);
    window->bsSkinForm1->Restore();
    x11::Settle();
    EXPECT_EQ(Reported(), reported);
    EXPECT_EQ(ClientOf(*window).size(), QSize(800, 560));
}

TEST_P(WindowFrameScreen, DraggingACornerStopsAtASizeWhereEveryControlIsWhole)
{
    const QRect before = Reported();
    const QSize least = Grown(window->MinimumClientSize(), Frame());
    EXPECT_EQ(window->minimumSize(), least);
    // Far past any sensible size: up and left over the window's middle.
    const QPoint corner = before.bottomRight() - QPoint(1, 1);
    ASSERT_TRUE(x11::Drag(corner, before.topLeft() + QPoint(200, 120)));
    const QRect after = Reported();
    EXPECT_EQ(after.topLeft(), before.topLeft());
    EXPECT_EQ(after.size(), least);
    EXPECT_EQ(window->size(), least);
    EXPECT_EQ(test::WidgetsOutsideTheirParents(window.get()), std::vector<std::string>{});
    EXPECT_EQ(test::OverlappingControls(window.get()), std::vector<std::string>{});
    // The panes keep a few lines and their scroll bars stay whole.
    EXPECT_GE(window->rchArticle1->viewport()->height(), 3 * window->rchArticle1->fontMetrics().height());
    EXPECT_GE(window->bsSkinScrollBar1->height(), 3 * window->bsSkinScrollBar1->width());
    const QImage screen = Screen();
    Keep(screen, after, "window-minimum-" + Skin());
    // The footer's right end is on the screen, drawn inside the frame.
    const QPoint comboEnd = window->cbxType->mapToGlobal(QPoint(window->cbxType->width() - 1, 0));
    EXPECT_LT(comboEnd.x(), after.right() - Frame().Right + 1);
    // And back out again.
    ASSERT_TRUE(x11::Drag(after.bottomRight() - QPoint(1, 1), after.bottomRight() + QPoint(59, 39)));
    EXPECT_EQ(Reported().size(), least + QSize(60, 40));
}

namespace {

// Checks the frame a box shows against the skin's frame picture: the four
// corners, which the frame copies as they are, outside the caption objects
// and the window's shape.
int CompareFrameCorners(const QImage& screen, QWidget* box, const TbsSkinData& skin, std::vector<std::string>& bad)
{
    TbsSkinForm* frame = bsFindSkinForm(box);
    if (!frame)
        return 0;
    const QImage picture = (box->isActiveWindow() || skin.InactiveFramePicture.isNull() ? skin.FramePicture
                                                                                          : skin.InactiveFramePicture)
                               .convertToFormat(QImage::Format_RGB32);
    const int W = box->width(), H = box->height(), PW = picture.width(), PH = picture.height();
    const TbsRect c = skin.clientrect;
    const QPoint origin = box->mapToGlobal(QPoint(0, 0));
    const QRegion shape = frame->WindowRegion();
    int compared = 0;
    auto check = [&](int x, int y, int px, int py) {
        if (!shape.isEmpty() && !shape.contains(QPoint(x, y)))
            return;
        for (const auto& o : frame->Objects().Objects())
            if (o->Visible && o->ObjectRect.contains(QPoint(x, y)))
                return;
        ++compared;
        const QRgb shown = screen.pixel(origin + QPoint(x, y)) & 0xFFFFFF;
        const QRgb wanted = picture.pixel(px, py) & 0xFFFFFF;
        if (shown != wanted && bad.size() < 10)
            bad.push_back(std::to_string(x) + "," + std::to_string(y));
    };
    const int leftTop = skin.lefttoppoint.X, rightTop = PW - skin.righttoppoint.X;
    const int leftBottom = skin.leftbottompoint.X, rightBottom = PW - skin.rightbottompoint.X;
    const int bottom = PH - c.Bottom;
    for (int y = 0; y < c.Top; ++y) {
        for (int x = 0; x < leftTop; ++x)
            check(x, y, x, y);
        for (int x = 0; x < rightTop; ++x)
            check(W - rightTop + x, y, PW - rightTop + x, y);
    }
    for (int y = 0; y < bottom; ++y) {
        for (int x = 0; x < leftBottom; ++x)
            check(x, H - bottom + y, x, PH - bottom + y);
        for (int x = 0; x < rightBottom; ++x)
            check(W - rightBottom + x, H - bottom + y, PW - rightBottom + x, PH - bottom + y);
    }
    return compared;
}

// Runs `inspect` on the modal box once the window system shows it.
void WhenBoxShown(std::function<void(TbsMessageForm*)> inspect)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, inspect] {
        auto* box = qobject_cast<TbsMessageForm*>(QApplication::activeModalWidget());
        if (!box || !box->windowHandle() || !box->windowHandle()->isExposed())
            return;
        timer->stop();
        timer->deleteLater();
        box->activateWindow();
        x11::Settle(300);
        inspect(box);
        // A failed step must not leave the box waiting for a user.
        if (box->isVisible())
            box->done(mrNone);
    });
    timer->start(20);
}

}  // namespace

TEST_P(WindowFrameScreen, TheMessageBoxIsASkinnedFormThatMovesAndClosesByItsFrame)
{
    bool seen = false;
    WhenBoxShown([&](TbsMessageForm* box) {
        seen = true;
        TbsSkinForm* frame = bsFindSkinForm(box);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->SkinData(), window->bsSkinData1);
        ASSERT_TRUE(frame->SkinSupport());
        EXPECT_EQ(box->windowTitle(), "Information");
        // Drawn by its own frame: the window system is asked for no decoration,
        // and a window manager gives it none.
        EXPECT_TRUE(box->windowFlags() & Qt::FramelessWindowHint);
        // Flags, functions, decorations ...: decorations given, and none.
        const QString motif = x11::Property(box->winId(), "_MOTIF_WM_HINTS");
        const QStringList hints = motif.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
        ASSERT_GE(hints.size(), 3) << motif.toStdString();
        EXPECT_TRUE(hints[0].trimmed().toUInt(nullptr, 16) & 2u) << motif.toStdString();
        EXPECT_EQ(hints[2].trimmed().toUInt(nullptr, 16), 0u) << motif.toStdString();
        if (UnderWindowManager()) {
            const QString extents = x11::Property(box->winId(), "_NET_FRAME_EXTENTS");
            EXPECT_TRUE(extents.endsWith("= 0, 0, 0, 0")) << extents.toStdString();
        }
        // Its client sits inside the skin's borders.
        const TbsMargins m = frame->NonClient();
        EXPECT_EQ(box->Client()->geometry(), QRect(QPoint(m.Left, m.Top), box->ClientSize()));
        EXPECT_EQ(x11::Geometry(box->winId()).size(), Grown(box->ClientSize(), m));

        const QImage screen = Screen();
        Keep(screen, box->frameGeometry(), "message-box-" + Skin());
        std::vector<std::string> bad;
        EXPECT_GT(CompareFrameCorners(screen, box, *window->bsSkinData1, bad), 40);
        EXPECT_EQ(bad, std::vector<std::string>{}) << "frame pixels unlike the skin's frame picture";

        // Dragging the caption moves the box.
        TbsSkinCaptionObject* caption = frame->Objects().Caption();
        ASSERT_TRUE(caption);
        const QRect start = x11::Geometry(box->winId());
        const QPoint grip = box->mapToGlobal(caption->ObjectRect.center());
        ASSERT_TRUE(x11::Drag(grip, grip + QPoint(70, 50)));
        EXPECT_EQ(x11::Geometry(box->winId()).topLeft(), start.topLeft() + QPoint(70, 50));
        EXPECT_TRUE(box->isVisible());

        // The close caption button answers as Escape does: OK for an OK box.
        const TbsActiveSkinObject* close = nullptr;
        for (const auto& o : frame->Objects().Objects())
            if (auto* b = dynamic_cast<const TbsSkinStdButtonObject*>(o.get());
                b && b->Command == TbsCommand::cmClose && b->Visible)
                close = b;
        ASSERT_TRUE(close);
        x11::Click(box->mapToGlobal(close->ObjectRect.center()));
        EXPECT_FALSE(box->isVisible());
    });
    EXPECT_EQ(window->msgMain->MessageDlg("There's no new updates for this application!", mtInformation, {mbOK}, 0),
              mrOk);
    EXPECT_TRUE(seen);
}

TEST_P(WindowFrameScreen, TheOpenDialogOpensATypedFolderAndImportsATypedFile)
{
    QTemporaryDir files;
    QDir(files.path()).mkdir("drafts");
    QDir(files.path()).mkdir("old");
    {
        QFile article(files.filePath("drafts/article one.txt"));
        ASSERT_TRUE(article.open(QIODevice::WriteOnly));
        article.write("The typed article.");
    }
    bool seen = false;
    auto* timer = new QTimer(window.get());
    QObject::connect(timer, &QTimer::timeout, timer, [&, timer] {
        auto* form = qobject_cast<TbsOpenDlgForm*>(QApplication::activeModalWidget());
        if (!form || !form->windowHandle() || !form->windowHandle()->isExposed())
            return;
        timer->stop();
        seen = true;
        auto* name = form->findChild<QLineEdit*>("edtFileName");
        ASSERT_TRUE(name);
        form->activateWindow();
        x11::Settle(200);
        // The first item is drawn selected; a typed folder opens all the same.
        name->setFocus();
        QTest::keyClicks(name, files.path());
        QTest::keyClick(name, Qt::Key_Return);
        x11::Settle(200);
        EXPECT_EQ(form->Folder(), QDir(files.path()).absolutePath());
        EXPECT_TRUE(name->text().isEmpty());
        QTest::keyClicks(name, "drafts");
        QTest::keyClick(name, Qt::Key_Return);
        x11::Settle(200);
        EXPECT_EQ(form->Folder(), QDir(files.path()).absolutePath() + "/drafts");
        EXPECT_TRUE(name->text().isEmpty());
        Keep(Screen(), form->frameGeometry(), "open-dialog-typed-folder-" + Skin());
        // A full path names its own file, whatever the list shows selected.
        QTest::keyClicks(name, files.filePath("drafts/article one.txt"));
        x11::Settle(100);
        Keep(Screen(), form->frameGeometry(), "open-dialog-typed-path-" + Skin());
        QTest::keyClick(name, Qt::Key_Return);
        if (form->isVisible())
            form->done(2);
    });
    timer->start(20);
    window->btnImport1->click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(window->rchArticle1->toPlainText(), "The typed article.");
}

INSTANTIATE_TEST_SUITE_P(Skins, WindowFrameScreen, ::testing::Values("builtin", "dark"),
                         [](const auto& info) { return std::string(info.param); });

int main(int argc, char** argv)
{
    // The window manager comes first, so that the program finds it there.
    x11::TWindowManager manager;
    std::string why;
    if (!manager.Start(why)) {
        std::printf("skipped: %s\n", why.c_str());
        return x11::TWindowManager::SkipCode;
    }
    return test::RunWindowTests(argc, argv);
}
