// The main window on an X server, photographed from the screen: the keyword
// box, the minimum-length spin edit and the article's scroll bar show the
// pixels of their skin pictures, with the built-in and with the dark skin,
// the unit box opens its list and the keyword box its skinned context menu.
// With RASP_SHOT_DIR set the screenshots are kept there.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"
#include "tests/skinwindow/WindowTestMain.h"
#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinControls.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsPopupListBox.h"
#include "skinctrls/bsEditMenu.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

QString SourceDir() { return QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")); }

QImage Screen(QWidget& window, const QString& name)
{
    QCursor::setPos(window.screen()->geometry().bottomRight());
    QTest::qWait(400);
    const QImage screen = window.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QString dir = QString::fromLocal8Bit(qgetenv("RASP_SHOT_DIR"));
    if (!dir.isEmpty())
        screen.copy(QRect(window.mapToGlobal(QPoint(0, 0)), window.size())).save(QDir(dir).filePath(name));
    return screen;
}

template <class T> const T& Entry(const TbsSkinData& skin, const char* name)
{
    const int index = skin.IndexOfControl(name);
    EXPECT_GE(index, 0) << name;
    return dynamic_cast<const T&>(*skin.SkinControls[std::size_t(index)]);
}

// A horizontal three-piece control: compares rows of its frame with the
// skin's rectangle, ends as they are and the middle repeated.
int ExpectHorizontalFromSkin(const QImage& screen, QWidget& control, const TbsSkinData& skin,
                             const TbsDataSkinCustomControl& e, const TbsRect& source,
                             const std::vector<int>& rows, const std::vector<int>& columns)
{
    const QImage* picture = skin.ActivePicture(e.pictureindex);
    EXPECT_TRUE(picture);
    if (!picture)
        return 0;
    const int left = e.lefttoppoint.X, right = source.Width() - e.righttoppoint.X;
    const int middle = std::max(1, e.righttoppoint.X - left);
    const int w = control.width();
    auto sourceX = [&](int x) {
        if (x < left) return x;
        if (x >= w - right) return x - (w - source.Width());
        return left + (x - left) % middle;
    };
    const QPoint origin = control.mapToGlobal(QPoint(0, 0));
    int compared = 0;
    for (int y : rows)
        for (int x : columns) {
            const int cx = x < 0 ? w + x : x;
            EXPECT_EQ(QColor(screen.pixel(origin + QPoint(cx, y))),
                      QColor(picture->pixel(source.Left + sourceX(cx), source.Top + y)))
                << control.objectName().toStdString() << " " << cx << "," << y;
            ++compared;
        }
    return compared;
}

// The vertical bar: the decreasing button at the top and the increasing
// one at the bottom, as the skin picture has them.
int ExpectScrollBarFromSkin(const QImage& screen, QWidget& bar, const TbsSkinData& skin)
{
    const auto& e = Entry<TbsDataSkinScrollBarControl>(skin, "vscrollbar");
    const QImage* picture = skin.ActivePicture(e.pictureindex);
    EXPECT_TRUE(picture);
    if (!picture)
        return 0;
    const QPoint origin = bar.mapToGlobal(QPoint(0, 0));
    const int sh = e.skinrect.Height(), h = bar.height();
    int compared = 0;
    for (int x = 0; x < e.skinrect.Width(); x += 3) {
        for (int y : {0, 1, e.downbuttonrect.Bottom / 2, e.downbuttonrect.Bottom - 1}) {
            EXPECT_EQ(QColor(screen.pixel(origin + QPoint(x, y))), QColor(picture->pixel(e.skinrect.Left + x, e.skinrect.Top + y)))
                << "top " << x << "," << y;
            ++compared;
        }
        for (int y : {e.upbuttonrect.Top, (e.upbuttonrect.Top + e.upbuttonrect.Bottom) / 2, sh - 1}) {
            EXPECT_EQ(QColor(screen.pixel(origin + QPoint(x, y + h - sh))),
                      QColor(picture->pixel(e.skinrect.Left + x, e.skinrect.Top + y)))
                << "bottom " << x << "," << y;
            ++compared;
        }
    }
    return compared;
}

void CheckWindow(TfrmMain& window, const TbsSkinData& skin, const QString& prefix)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.rchArticle1->setFocus();
    // A long article, so the bar is enabled and shows its thumb.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("word ");
    window.rchArticle1->setPlainText(text);
    const QImage screen = Screen(window, prefix + ".png");

    ASSERT_TRUE(window.edtKw1->IsSkinned());
    const auto& edit = Entry<TbsDataSkinEditControl>(skin, "edit");
    EXPECT_EQ(window.edtKw1->height(), edit.skinrect.Height());
    const int h = edit.skinrect.Height();
    // The frame's top and bottom rows and its two ends (the text lies between).
    EXPECT_GT(ExpectHorizontalFromSkin(screen, *window.edtKw1, skin, edit, edit.skinrect, {0, 1, h - 2, h - 1},
                                       {0, 1, 2, 3, 20, 100, -4, -3, -2, -1}),
              30);

    ASSERT_TRUE(window.minNumWords->IsSkinned());
    const auto& spin = Entry<TbsDataSkinSpinEditControl>(skin, "spinedit");
    EXPECT_EQ(window.minNumWords->height(), spin.skinrect.Height());
    const int sh = spin.skinrect.Height();
    // Rows of the frame, the left end and the arrow buttons at the right end.
    EXPECT_GT(ExpectHorizontalFromSkin(screen, *window.minNumWords, skin, spin, spin.skinrect, {0, sh - 1, 3, sh / 2, sh - 4},
                                       {0, 1, 2, -14, -10, -6, -2}),
              30);

    ASSERT_TRUE(window.bsSkinScrollBar1->IsSkinned());
    EXPECT_TRUE(window.bsSkinScrollBar1->isEnabled());
    EXPECT_GT(ExpectScrollBarFromSkin(screen, *window.bsSkinScrollBar1, skin), 30);

    // The unit box with its list open, for the eye.
    window.cbxType->setFocus();
    window.cbxType->DropDown();
    ASSERT_TRUE(window.cbxType->DroppedDown());
    QTest::qWait(200);
    const QString dir = QString::fromLocal8Bit(qgetenv("RASP_SHOT_DIR"));
    if (!dir.isEmpty()) {
        const QImage open = window.screen()->grabWindow(0).toImage();
        QRect area = QRect(window.mapToGlobal(QPoint(0, 0)), window.size()).united(window.cbxType->ListBox()->geometry());
        open.copy(area).save(QDir(dir).filePath(prefix + "-combo-open.png"));
    }
    window.cbxType->CloseUp(false);

    // A right click on the keyword box: the skinned menu window stands on the
    // screen at the click, showing exactly the picture it composes.
    window.edtKw1->setFocus();
    window.edtKw1->setText("keyword");
    window.edtKw1->selectAll();
    QTest::qWait(50);
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, window.edtKw1->mapTo(&window, QPoint(12, 6)));
    TbsSkinPopupMenu* menu = bsEditMenuOf(*window.edtKw1);
    ASSERT_NE(menu, nullptr);
    TbsSkinMenu* driver = menu->ShowingDriver();
    ASSERT_NE(driver, nullptr);
    TbsSkinPopupWindow* popup = driver->TopWindow();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    EXPECT_EQ(popup->geometry().topLeft(), window.edtKw1->mapToGlobal(QPoint(12, 6)));
    QTest::qWait(300);
    const QImage withMenu = window.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn = popup->Compose().convertToFormat(QImage::Format_RGB32);
    const QRegion shape = popup->mask().isEmpty() ? QRegion(popup->rect()) : popup->mask();
    int same = 0, compared = 0;
    for (int y = 0; y < drawn.height(); y += 3)
        for (int x = 0; x < drawn.width(); x += 3) {
            if (!shape.contains(QPoint(x, y)))
                continue;
            ++compared;
            same += withMenu.pixel(popup->mapToGlobal(QPoint(x, y))) == drawn.pixel(x, y);
        }
    EXPECT_GT(compared, 100);
    EXPECT_EQ(same, compared);
    if (!dir.isEmpty())
        withMenu.copy(QRect(window.mapToGlobal(QPoint(0, 0)), window.size()).united(popup->geometry()))
            .save(QDir(dir).filePath(prefix + "-edit-menu.png"));
    driver->CloseAll();
    QTest::qWait(50);
}

TMainWindowOptions Options(const QTemporaryDir& dir)
{
    TMainWindowOptions options;
    options.ProgramDir = dir.path();
    options.CheckUpdates = false;
    return options;
}

}  // namespace

TEST(SkinnedEditsScreen, TheBuiltInSkinDrawsEditsSpinEditAndScrollBar)
{
    QTemporaryDir dir;
    TfrmMain window(Options(dir));
    TbsSkinData skin;
    TbsCompressedStoredSkin stored;
    bsAssignBuiltinSkin(stored);
    skin.LoadStoredSkin(stored);
    CheckWindow(window, skin, "skinned-edits-builtin");
}

TEST(SkinnedEditsScreen, TheDarkSkinDrawsEditsSpinEditAndScrollBar)
{
    QTemporaryDir dir;
    const QString dark = SourceDir() + "/samples/skins/dbskin.dat";
    ASSERT_TRUE(QFile::copy(dark, dir.filePath("dbskin.dat")));
    QFile settings(dir.filePath("dbconfig.dat"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Settings]\r\nLink1URL=https://one.example/\r\nLink1Name=First link\r\n"
                   "Link2URL=https://two.example/\r\nLink2Name=Second link\r\n");
    settings.close();
    TfrmMain window(Options(dir));
    TbsSkinData skin;
    ASSERT_TRUE(skin.LoadCompressedSkinFile(dark));
    CheckWindow(window, skin, "skinned-edits-dark");
}

int main(int argc, char** argv) { return rasp::test::RunWindowTests(argc, argv); }
