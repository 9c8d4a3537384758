#include "tests/app/WindowFixture.h"

#include "app/TImage.h"
#include "gif/GIFAnimator.h"

#include <QTest>
#include <QTimer>

using namespace rasp;

TEST_F(WindowTest, OpensAtItsDesignSizeWithItsCaptions)
{
    EXPECT_EQ(window->size(), QSize(753, 520));
    EXPECT_EQ(window->windowTitle(), "Tellivo Rasp");
    EXPECT_EQ(window->btnCompareEx->geometry(), QRect(7, 6, 98, 20));
    EXPECT_EQ(window->btnUpdate->geometry(), QRect(207, 6, 99, 20));
    EXPECT_EQ(window->btnCompareEx->text(), "Compare");
    EXPECT_EQ(window->btnMakeMoney->text(), "Make Money");
    EXPECT_EQ(window->panLeft->title(), "Article 1");
    EXPECT_EQ(window->bsSkinGroupBox2->title(), "Article 2");
    EXPECT_EQ(window->bsSkinStdLabel3->text(), "Minimun Length Of the Matching Parts = ");
    EXPECT_EQ(window->btnCalculateKwDensity2->text(), "Calculate Keyword Density");
    EXPECT_EQ(window->edtDuplicate->text(), "0");
    EXPECT_FALSE(window->edtDuplicate->isEnabled());
    EXPECT_EQ(window->minNumWords->Value(), 1);
    EXPECT_EQ(window->cbxType->count(), 3);
    EXPECT_EQ(window->cbxType->itemText(2), "Paragraph(s)");
    EXPECT_EQ(window->cbxType->ItemIndex(), 0);
    EXPECT_EQ(window->lblLink1URL->text(), "Google");
    EXPECT_EQ(window->bsSkinPanel1->height(), 33);
    EXPECT_EQ(window->panBanner->height(), 65);
    EXPECT_EQ(window->bsSkinPanel4->height(), 62);
    EXPECT_EQ(window->bsSkinScrollBar1->width(), 19);
    EXPECT_EQ(window->rchArticle1->font().pixelSize(), 14);
    EXPECT_EQ(window->rchArticle1->document()->defaultFont().family(), "Arial");
    // Half the window less 10 pixels for article 1.
    EXPECT_EQ(window->panLeft->width(), 753 / 2 - 10);
    EXPECT_EQ(window->findChild<QObject*>("mnuPaste"), window->mnuPaste);
}

TEST_F(WindowTest, ResizingKeepsHalfTheWidthForArticleOneAndTheFooterAnchored)
{
    window->resize(801, 600);
    QApplication::processEvents();
    EXPECT_EQ(window->panLeft->width(), 390);
    EXPECT_EQ(window->bsSkinPanel5->width(), 5);
    EXPECT_EQ(window->bsSkinGroupBox2->x(), 395);
    // The skinned frame's sides take 4 pixels each from the client width.
    const int client = 801 - 8;
    EXPECT_EQ(window->bsSkinPanel4->width(), client);
    EXPECT_EQ(window->bsSkinGroupBox2->width(), client - 395);
    // Right-anchored footer controls move with the right edge.
    EXPECT_EQ(window->minNumWords->x(), 537 + client - 753);
    EXPECT_EQ(window->cbxType->x(), 596 + client - 753);
    EXPECT_EQ(window->bsSkinStdLabel10->x(), 13);

    // Narrow and back: the split follows without fighting the layout.
    window->resize(420, 300);
    QApplication::processEvents();
    EXPECT_EQ(window->panLeft->width(), window->width() / 2 - 10);
    window->resize(753, 520);
    QApplication::processEvents();
    EXPECT_EQ(window->panLeft->width(), 366);
}

TEST_F(WindowTest, BannerIsCentredAndMayStickOut)
{
    QPixmap tall(300, 105);
    tall.fill(Qt::red);
    window->imgBanner->SetPicture(tall);
    window->gifBanner->resize(41, 20);
    window->FormResize();
    EXPECT_EQ(window->imgBanner->height(), 105);
    EXPECT_EQ(window->imgBanner->y(), 32 - 52);
    EXPECT_EQ(window->imgBanner->x(), window->panBanner->width() / 2 - 150);
    EXPECT_EQ(window->gifBanner->x(), window->panBanner->width() / 2 - 20);
    EXPECT_EQ(window->gifBanner->y(), 32 - 10);
}

TEST_F(WindowTest, StartUpArmsTheUpdateTimerOnce)
{
    TMainWindowOptions options;
    options.ProgramDir = dir.path();
    options.CheckUpdates = false;
    TfrmMain fresh(options);
    EXPECT_TRUE(fresh.Timer1->isActive());
    EXPECT_EQ(fresh.Timer1->interval(), 100);
    QTest::qWait(400);
    EXPECT_FALSE(fresh.Timer1->isActive()) << "the check runs once, not every 100 ms";
}
