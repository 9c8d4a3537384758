// The main window on an X server, photographed from the screen: the Compare
// button shows exactly the pixels of the skin's button picture, with the
// built-in skin and with the dark skin a deployment supplies. With
// RASP_SHOT_DIR set the screenshots are kept there.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"
#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

QString SourceDir() { return QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")); }

// The window as the screen shows it, the pointer parked far from it.
QImage Photograph(TfrmMain& window, const QString& name)
{
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.rchArticle1->setFocus();
    QCursor::setPos(window.screen()->geometry().bottomRight());
    QTest::qWait(400);
    const QImage screen =
        window.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QString dir = QString::fromLocal8Bit(qgetenv("RASP_SHOT_DIR"));
    if (!dir.isEmpty()) {
        const QRect frame(window.mapToGlobal(QPoint(0, 0)), window.size());
        screen.copy(frame).save(QDir(dir).filePath(name));
    }
    return screen;
}

// Compares the button on the screen with the skin's "button" picture: both
// ends as they are, the middle repeated, above and below the caption.
void ExpectButtonFromSkin(const QImage& screen, TbsSkinButton& button, const TbsSkinData& skin)
{
    const int index = skin.IndexOfControl("button");
    ASSERT_GE(index, 0);
    const auto* entry = dynamic_cast<const TbsDataSkinButtonControl*>(skin.SkinControls[std::size_t(index)].get());
    ASSERT_TRUE(entry);
    const QImage* picture = skin.ActivePicture(entry->pictureindex);
    ASSERT_TRUE(picture);
    const TbsRect& s = entry->skinrect;
    const int left = entry->lefttoppoint.X, right = s.Width() - entry->righttoppoint.X;
    const int middle = entry->righttoppoint.X - left;
    ASSERT_EQ(button.height(), s.Height());
    const QPoint origin = button.mapToGlobal(QPoint(0, 0));
    const int w = button.width();
    auto sourceX = [&](int x) {
        if (x < left) return x;
        if (x >= w - right) return x - (w - s.Width());
        return left + (x - left) % middle;
    };
    int compared = 0;
    for (int y : {0, 1, 2, s.Height() / 2, s.Height() - 2, s.Height() - 1}) {
        for (int x : {0, 1, 2, left, left + 7, w / 2, w - right - 1, w - 3, w - 1}) {
            // The caption covers the middle rows.
            if (y > 2 && y < s.Height() - 2 && x >= left && x < w - right)
                continue;
            const QRgb expected = picture->pixel(s.Left + sourceX(x), s.Top + y);
            EXPECT_EQ(QColor(screen.pixel(origin + QPoint(x, y))), QColor(expected)) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 30);
}

TbsSkinData& BuiltinSkin()
{
    static TbsSkinData data;
    if (data.SkinEmpty) {
        TbsCompressedStoredSkin stored;
        bsAssignBuiltinSkin(stored);
        data.LoadStoredSkin(stored);
    }
    return data;
}

TMainWindowOptions Options(const QTemporaryDir& dir)
{
    TMainWindowOptions options;
    options.ProgramDir = dir.path();
    options.CheckUpdates = false;
    return options;
}

}  // namespace

TEST(SkinnedWindowScreen, TheBuiltInSkinDrawsTheCompareButton)
{
    QTemporaryDir dir;
    TfrmMain window(Options(dir));
    const QImage screen = Photograph(window, "skinned-window-builtin.png");
    ASSERT_TRUE(window.btnCompareEx->IsSkinned());
    ExpectButtonFromSkin(screen, *window.btnCompareEx, BuiltinSkin());
}

TEST(SkinnedWindowScreen, TheDarkSkinOfADeploymentDrawsTheCompareButton)
{
    QTemporaryDir dir;
    const QString dark = SourceDir() + "/samples/skins/dbskin.dat";
    ASSERT_TRUE(QFile::copy(dark, dir.filePath("dbskin.dat")));
    // The deployment files are read only beside a settings file.
    QFile settings(dir.filePath("dbconfig.dat"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Settings]\r\nLink1URL=https://one.example/\r\nLink1Name=First link\r\n"
                   "Link2URL=https://two.example/\r\nLink2Name=Second link\r\n");
    settings.close();
    TfrmMain window(Options(dir));
    const QImage screen = Photograph(window, "skinned-window-dark.png");
    TbsSkinData expected;
    ASSERT_TRUE(expected.LoadCompressedSkinFile(dark));
    EXPECT_EQ(window.bsSkinData1->skinname, "Tellivo Dark");
    ASSERT_TRUE(window.btnCompareEx->IsSkinned());
    ExpectButtonFromSkin(screen, *window.btnCompareEx, expected);
    // The dark skin is not the light one: the two button pictures differ.
    const TbsRect& s = dynamic_cast<const TbsDataSkinButtonControl&>(
                           *BuiltinSkin().SkinControls[std::size_t(BuiltinSkin().IndexOfControl("button"))])
                           .skinrect;
    const QPoint at = window.btnCompareEx->mapToGlobal(QPoint(s.Width() / 2, 1));
    EXPECT_NE(QColor(screen.pixel(at)), QColor(BuiltinSkin().SkinPictures[1].pixel(s.Left + 20, s.Top + 1)));
}

TEST(SkinnedWindowScreen, TheMessageBoxTakesTheWindowsSkin)
{
    QTemporaryDir dir;
    TfrmMain window(Options(dir));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bool checked = false;
    QTimer::singleShot(300, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        auto* ok = box->findChild<TbsSkinButton*>("OK");
        ASSERT_TRUE(ok);
        EXPECT_TRUE(ok->IsSkinned());
        EXPECT_EQ(ok->height(), 21);
        const QString shots = QString::fromLocal8Bit(qgetenv("RASP_SHOT_DIR"));
        if (!shots.isEmpty()) {
            QTest::qWait(200);
            const QImage screen = box->screen()->grabWindow(0).toImage();
            screen.copy(QRect(box->mapToGlobal(QPoint(0, 0)), box->size()))
                .save(QDir(shots).filePath("skinned-message-box.png"));
        }
        checked = true;
        ok->click();
    });
    EXPECT_EQ(window.msgMain->MessageDlg("There is no newer version.", mtInformation, {mbOK}, 0), mrOk);
    EXPECT_TRUE(checked);
}

int main(int argc, char** argv)
{
    QLocale::setDefault(QLocale::c());
    TRaspApplication app(argc, argv);
    app.ErrorBox().SetAnswerHook([](const TMessageRequest& r) {
        ADD_FAILURE() << "message shown: " << r.Text.toStdString();
        return mrOk;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
