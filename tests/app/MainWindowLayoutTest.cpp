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

namespace {

QString PathOf(const QWidget* w, const QWidget* top)
{
    QString path;
    for (; w && w != top; w = w->parentWidget()) {
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                       : w->objectName();
        path = path.isEmpty() ? name : name + "/" + path;
    }
    return path;
}

// Every shown widget of the window, down to the parts inside the controls,
// lies wholly inside its parent: nothing is cut off by the edge of its panel.
std::vector<std::string> WidgetsOutsideTheirParents(QWidget* top)
{
    std::vector<std::string> outside;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top) || w->isWindow() || w->size().isEmpty())
            continue;
        const QRect inParent = w->geometry();
        const QRect parent = w->parentWidget()->rect();
        if (!parent.contains(inParent))
            outside.push_back(PathOf(w, top).toStdString() + " " + std::to_string(inParent.x()) + ","
                              + std::to_string(inParent.y()) + " " + std::to_string(inParent.width()) + "x"
                              + std::to_string(inParent.height()) + " in " + std::to_string(parent.width())
                              + "x" + std::to_string(parent.height()));
    }
    return outside;
}

} // namespace

TEST_F(WindowTest, EveryControlLiesInsideItsParentAtTheDesignSizeAndWider)
{
    for (const QSize size : {QSize(753, 520), QSize(801, 520), QSize(753, 520)}) {
        window->resize(size);
        QApplication::processEvents();
        ASSERT_EQ(window->size(), size);
        EXPECT_EQ(WidgetsOutsideTheirParents(window.get()), std::vector<std::string>{})
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
