// The main window on an X server, photographed from the screen: the Compare
// button shows exactly the pixels of the skin's button picture, with the
// built-in skin and with the dark skin a deployment supplies. With
// RASP_SHOT_DIR set the screenshots are kept there.

#include "app/MainWindow.h"
#include "app/RaspApplication.h"
#include "tests/skinwindow/WindowTestMain.h"
#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skinctrls/TbsMessageForm.h"
#include "skinctrls/TbsOpenDlgForm.h"
#include "skinctrls/TbsSkinOpenDialog.h"
#include "skinctrls/TbsSkinComboBox.h"
#include "skinctrls/TbsPopupListBox.h"
#include "skinctrls/bsSkinFont.h"

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

namespace {

// A deployment folder that carries the dark skin.
void UseDarkSkin(const QTemporaryDir& dir)
{
    ASSERT_TRUE(QFile::copy(SourceDir() + "/samples/skins/dbskin.dat", dir.filePath("dbskin.dat")));
    QFile settings(dir.filePath("dbconfig.dat"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Settings]\r\nLink1URL=https://one.example/\r\nLink1Name=First link\r\n"
                   "Link2URL=https://two.example/\r\nLink2Name=Second link\r\n");
}

QImage Shoot(QWidget* w, const QString& name)
{
    QTest::qWait(250);
    const QImage screen = w->screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage shot = screen.copy(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
    const QString shots = QString::fromLocal8Bit(qgetenv("RASP_SHOT_DIR"));
    if (!shots.isEmpty())
        shot.save(QDir(shots).filePath(name));
    return shot;
}

// The update prompt and the open dialog (list and details) of a window.
void ShootDialogs(TfrmMain& window, const QString& skin)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bool boxSeen = false;
    QTimer::singleShot(300, [&] {
        auto* box = qobject_cast<TbsMessageForm*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        auto* ok = box->findChild<TbsSkinButton*>("OK");
        auto* cancel = box->findChild<TbsSkinButton*>("Cancel");
        ASSERT_TRUE(ok && cancel);
        EXPECT_TRUE(ok->IsSkinned());
        EXPECT_EQ(ok->size(), QSize(70, 21));
        EXPECT_EQ(cancel->x() - ok->x(), 80);
        const QImage shot = Shoot(box, "update-prompt-" + skin + ".png");
        // The box is centred on the screen.
        const QPoint centre = box->geometry().center() - box->screen()->availableGeometry().center();
        EXPECT_LE(std::abs(centre.x()), 1);
        EXPECT_LE(std::abs(centre.y()), 1);
        EXPECT_FALSE(shot.isNull());
        boxSeen = true;
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(window.msgMain->MessageDlg(
                  "There is a new update: (version 2.1.0) available for your application!. Do you want download "
                  "this update now?",
                  mtInformation, {mbOK, mbCancel}, 0),
              mrCancel);
    EXPECT_TRUE(boxSeen);

    QTemporaryDir files;
    for (const char* f : {"article one.txt", "article two.rtf", "notes.doc"})
        QFile(files.filePath(f)).open(QIODevice::WriteOnly);
    QDir(files.path()).mkdir("drafts");
    bool dialogSeen = false;
    QTimer::singleShot(300, [&] {
        auto* form = qobject_cast<TbsOpenDlgForm*>(QApplication::activeModalWidget());
        ASSERT_TRUE(form);
        form->OpenFolder(files.path());
        form->SelectName("article two.rtf");
        Shoot(form, "open-dialog-list-" + skin + ".png");
        // The look-in and type boxes are the skin's combo boxes: the screen
        // shows exactly what they draw.
        auto* folders = form->findChild<TbsSkinComboBox*>("cbxFolder");
        auto* types = form->findChild<TbsSkinComboBox*>("cbxFileType");
        ASSERT_TRUE(folders && types);
        EXPECT_TRUE(folders->IsSkinned());
        EXPECT_TRUE(types->IsSkinned());
        EXPECT_EQ(folders->SkinDataName(), window.bsSkinData1->IndexOfControl("toolcombobox") >= 0
                                               ? QStringLiteral("toolcombobox")
                                               : QStringLiteral("combobox"));
        {
            const QImage screen = form->screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
            for (TbsSkinComboBox* box : {folders, types}) {
                const QImage drawn = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
                const QImage shown = screen.copy(QRect(box->mapToGlobal(QPoint(0, 0)), box->size()));
                ASSERT_EQ(shown.size(), drawn.size());
                int differ = 0;
                for (int y = 0; y < drawn.height(); ++y)
                    for (int x = 0; x < drawn.width(); ++x)
                        differ += shown.pixel(x, y) != drawn.pixel(x, y);
                EXPECT_EQ(differ, 0) << box->objectName().toStdString();
            }
        }
        // The folder box's list open over the dialog.
        QTest::mouseClick(folders, Qt::LeftButton, {}, folders->ItemArea().center());
        EXPECT_TRUE(folders->DroppedDown());
        QTest::qWait(250);
        {
            const QRect both = form->frameGeometry().united(folders->ListBox()->geometry());
            const QImage screen = form->screen()->grabWindow(0).toImage();
            const QString shots = QString::fromLocal8Bit(qgetenv("RASP_SHOT_DIR"));
            if (!shots.isEmpty())
                screen.copy(both).save(QDir(shots).filePath("open-dialog-folders-" + skin + ".png"));
        }
        folders->CloseUp(false);
        form->SetViewStyle(vsReport);
        Shoot(form, "open-dialog-details-" + skin + ".png");
        EXPECT_TRUE(form->findChild<TbsSkinButton*>("btnOpen")->IsSkinned());
        dialogSeen = true;
        form->done(2);
    });
    window.btnImport1->click();
    EXPECT_TRUE(dialogSeen);
}

}  // namespace

TEST(SkinnedWindowScreen, DialogsInTheBuiltInSkin)
{
    QTemporaryDir dir;
    TfrmMain window(Options(dir));
    ShootDialogs(window, "builtin");
}

TEST(SkinnedWindowScreen, DialogsInTheDarkSkin)
{
    QTemporaryDir dir;
    UseDarkSkin(dir);
    TfrmMain window(Options(dir));
    ShootDialogs(window, "dark");
}

namespace {

// Pixels of a widget's area on the screen that satisfy the test.
template <class Test>
int CountOnScreen(const QImage& screen, QWidget* w, Test test)
{
    const QRect area(w->mapToGlobal(QPoint(0, 0)), w->size());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(QColor(screen.pixel(x, y)));
    return n;
}

}  // namespace

TEST(SkinnedWindowScreen, TheArticlePanesKeepBlackOnWhiteAndTheRunColoursInTheDarkSkin)
{
    QTemporaryDir dir;
    UseDarkSkin(dir);
    TfrmMain window(Options(dir));
    ASSERT_EQ(window.bsSkinData1->skinname, "Tellivo Dark");
    const int entry = window.bsSkinData1->IndexOfControl("richedit");
    ASSERT_GE(entry, 0);
    const auto& dark = dynamic_cast<const TbsDataSkinRichEdit&>(*window.bsSkinData1->SkinControls[std::size_t(entry)]);
    const QColor darkFill = bsColor(dark.bgcolor);
    ASSERT_LT(darkFill.lightness(), 100) << "the sample skin is no longer dark";

    window.rchArticle1->SetText(u"The quick brown fox jumps over the lazy dog near the river bank.");
    window.rchArticle2->SetText(u"Yesterday the quick brown fox jumps over a fence.");
    window.minNumWords->SetValue(3);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.btnCompareEx, Qt::LeftButton);
    const QImage screen = Photograph(window, "skinned-window-dark-panes.png");

    for (TbsSkinRichEdit* pane : {window.rchArticle1, window.rchArticle2}) {
        // Bound to the skin and restyled by it, yet in its own look.
        EXPECT_EQ(pane->SkinData(), window.bsSkinData1);
        EXPECT_TRUE(pane->IsSkinned());
        EXPECT_FALSE(pane->SkinSupport());
        EXPECT_EQ(pane->font().family(), "Arial");
        EXPECT_EQ(pane->font().pixelSize(), 14);
        const QWidget* view = pane->viewport();
        const QPoint corner = view->mapToGlobal(QPoint(view->width() - 3, view->height() - 3));
        EXPECT_EQ(QColor(screen.pixel(corner)), QColor(Qt::white));
        EXPECT_EQ(CountOnScreen(screen, pane, [&](QColor c) { return c == darkFill; }), 0);
        // Readable: dark letters on the white page ...
        EXPECT_GT(CountOnScreen(screen, pane, [](QColor c) { return c.lightness() < 60; }), 150);
        // ... and the shared run in exactly the first colour of the cycle.
        EXPECT_GT(CountOnScreen(screen, pane, [](QColor c) { return c == QColor(0, 255, 255); }), 500);
    }
    EXPECT_EQ(window.edtDuplicate->text(), "67");
}

int main(int argc, char** argv) { return rasp::test::RunWindowTests(argc, argv); }
