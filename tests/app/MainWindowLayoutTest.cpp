#include "tests/app/WindowFixture.h"
#include "tests/app/LayoutWalk.h"

#include "app/TImage.h"
#include "gif/GIFAnimator.h"

#include <QFile>
#include <QTest>
#include <QTimer>

using namespace rasp;
using namespace rasp::test;

TEST_F(WindowTest, OpensAtItsDesignSizeWithItsCaptions)
{
    // The fixed size is the client's; the built-in skin's frame adds
    // 4, 30, 4 and 4 pixels around it.
    EXPECT_EQ(window->size(), QSize(761, 554));
    EXPECT_EQ(window->bsSkinPanel1->geometry(), QRect(4, 30, 753, 33));
    EXPECT_EQ(window->bsSkinPanel4->geometry(), QRect(4, 30 + 520 - 62, 753, 62));
    EXPECT_EQ(window->windowTitle(), "Tellivo Rasp");
    // Designed 20 high; the skin's "button" is 21 high and keeps its height.
    EXPECT_EQ(window->btnCompareEx->geometry(), QRect(7, 6, 98, 21));
    EXPECT_EQ(window->btnUpdate->geometry(), QRect(207, 6, 99, 21));
    EXPECT_EQ(window->btnCompareEx->text(), "Compare");
    EXPECT_EQ(window->btnMakeMoney->text(), "Make Money");
    EXPECT_EQ(window->panLeft->Caption(), "Article 1");
    EXPECT_EQ(window->bsSkinGroupBox2->Caption(), "Article 2");
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
    // Half the window's outer width less 10 pixels for article 1.
    EXPECT_EQ(window->panLeft->width(), 761 / 2 - 10);
    // The right-anchored footer controls stand where they were designed.
    EXPECT_EQ(window->cbxType->x(), 596);
    EXPECT_EQ(window->minNumWords->x(), 537);
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

    // Narrow and back: the window stops at its minimum, and the split
    // follows without fighting the layout.
    window->resize(420, 300);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), window->minimumSize());
    EXPECT_GT(window->width(), 420);
    EXPECT_EQ(window->panLeft->width(), window->width() / 2 - 10);
    window->resize(761, 554);
    QApplication::processEvents();
    EXPECT_EQ(window->panLeft->width(), 370);
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

TEST_F(WindowTest, EveryControlIsWholeAndAloneFromTheMinimumSizeUp)
{
    const QSize least = window->minimumSize();
    for (const QSize size : {QSize(761, 554), QSize(801, 520), least, QSize(least.width(), 900),
                             QSize(1200, least.height()), QSize(761, 554)}) {
        window->resize(size);
        QApplication::processEvents();
        ASSERT_EQ(window->size(), size);
        EXPECT_EQ(WidgetsOutsideTheirParents(window.get()), std::vector<std::string>{})
            << "at " << size.width() << " x " << size.height();
        EXPECT_EQ(OverlappingControls(window.get()), std::vector<std::string>{})
            << "at " << size.width() << " x " << size.height();
    }
    // The same with both panes full of text, when their scroll bars show.
    std::u16string text;
    for (int i = 0; i < 200; ++i)
        text += u"line of article text\r\n";
    window->rchArticle1->SetText(text);
    window->rchArticle2->SetText(text);
    QApplication::processEvents();
    EXPECT_EQ(WidgetsOutsideTheirParents(window.get()), std::vector<std::string>{});
}

TEST_F(WindowTest, LongLinkCaptionsOfADeploymentRaiseTheMinimumWidth)
{
    QFile settings(dir.filePath("dbconfig.dat"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Settings]\r\nLink1URL=https://one.example/\r\n"
                   "Link1Name=Read every article of this week's newsletter on our site, the older ones too, and all the letters of our readers\r\n"
                   "Link2URL=https://two.example/\r\n"
                   "Link2Name=Ask the editors of the newsletter a question of your own, or two of them, and hear back within the week\r\n");
    settings.close();
    TMainWindowOptions options;
    options.ProgramDir = dir.path();
    options.CheckUpdates = false;
    TfrmMain branded(options);
    branded.show();
    QApplication::processEvents();
    EXPECT_GT(branded.minimumWidth(), window->minimumWidth());
    branded.resize(branded.minimumSize());
    QApplication::processEvents();
    EXPECT_EQ(OverlappingControls(&branded), std::vector<std::string>{});
    EXPECT_EQ(WidgetsOutsideTheirParents(&branded), std::vector<std::string>{});
}
