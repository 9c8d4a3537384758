// The article pane's look on real widgets: with SkinSupport it takes font
// and background from its "richedit" entry, or its defaults while unskinned;
// without it the program's own font and colours stay whatever the skin.

#include "tests/skinctrls/SkinTestSkins.h"

#include "skin/bsResourceStrData.h"
#include "skin/bsSkinFont.h"
#include "skinctrls/TbsSkinRichEdit.h"
#include "skinctrls/TbsSkinScrollBar.h"
#include "skinctrls/bsSkinFont.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace rasp;

namespace {

std::unique_ptr<TbsDataSkinRichEdit> RichEntry(const char* face, int height, TbsFontStyles style,
                                               TbsColor font, TbsColor bg)
{
    auto e = std::make_unique<TbsDataSkinRichEdit>("richedit");
    e->fontname = face;
    e->fontheight = height;
    e->fontstyle = style;
    e->fontcolor = font;
    e->bgcolor = bg;
    return e;
}

TbsLoadedSkin SkinOf(std::unique_ptr<TbsDataSkinControl> entry)
{
    std::vector<std::unique_ptr<TbsDataSkinControl>> controls;
    if (entry)
        controls.push_back(std::move(entry));
    return SkinWith(std::move(controls));
}

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Pixels of the image that are exactly the colour.
int Count(const QImage& image, const QColor& c)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == c.rgb();
    return n;
}

class RichEditSkin : public ::testing::Test {
protected:
    RichEditSkin()
    {
        Pane = new TbsSkinRichEdit(form.Form.get());
        Pane->setGeometry(0, 0, 300, 120);
    }
    void Show()
    {
        form.Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Form.get()));
    }
    TSkinForm form;
    TbsSkinRichEdit* Pane;
};

const QColor kNavy(0x10, 0x20, 0x40);   // bgcolor 0x402010
const QColor kYellow(0xFF, 0xFF, 0x00);  // fontcolor 0x00FFFF

}  // namespace

TEST_F(RichEditSkin, WithoutSkinSupportFontAndColoursStayAsSetUnskinnedAndSkinned)
{
    EXPECT_FALSE(Pane->SkinSupport());
    EXPECT_EQ(Pane->SkinDataName(), "richedit");
    // The pane starts in its own look: Arial, 14 pixels, black on white.
    EXPECT_EQ(Pane->font().family(), "Arial");
    EXPECT_EQ(Pane->font().pixelSize(), 14);
    EXPECT_EQ(Pane->Color(), QColor(Qt::white));
    EXPECT_EQ(Pane->FontColor(), QColor(Qt::black));
    EXPECT_EQ(Pane->DefaultFont(), Pane->font());

    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setPixelSize(17);
    Pane->setFont(mono);
    Pane->SetColor(QColor(200, 255, 200));
    Pane->SetDefaultColor(Qt::red);  // unskinned, but without SkinSupport
    bsBindSkinData(form.Form.get(), form.Data);
    TbsLoadedSkin skin = SkinOf(RichEntry("Courier New", -30, fsBold, 0x00FFFF, 0x402010));
    LoadSkin(*form.Data, skin);
    EXPECT_TRUE(Pane->IsSkinned());
    EXPECT_EQ(Pane->font(), mono);
    EXPECT_EQ(Pane->Color(), QColor(200, 255, 200));
    EXPECT_EQ(Pane->FontColor(), QColor(Qt::black));
    Show();
    EXPECT_EQ(Grab(*Pane).pixel(150, 100), QColor(200, 255, 200).rgb());
}

TEST_F(RichEditSkin, UnskinnedWithSkinSupportTheDefaultsApplyAndFollowTheirAssignment)
{
    Pane->SetText(u"WWW WWW");
    Pane->SetSkinSupport(true);
    EXPECT_FALSE(Pane->IsSkinned());
    EXPECT_EQ(Pane->font(), Pane->DefaultFont());
    EXPECT_EQ(Pane->Color(), Pane->DefaultColor());
    // Assigned while unskinned with SkinSupport: at once.
    QFont big(QStringLiteral("Liberation Serif"));
    big.setPixelSize(30);
    Pane->SetDefaultFont(big);
    Pane->SetDefaultColor(QColor(0, 0, 0x80));
    Pane->SetDefaultFontColor(Qt::white);
    EXPECT_EQ(Pane->font(), big);
    EXPECT_EQ(Pane->document()->defaultFont(), big);
    Show();
    const QImage shot = Grab(*Pane);
    EXPECT_EQ(shot.pixel(290, 110), QColor(0, 0, 0x80).rgb());
    EXPECT_GT(Count(shot, Qt::white), 30);

    // A skin without a rich edit entry (or whose "richedit" is some other
    // kind) leaves the pane unskinned: the defaults again.
    bsBindSkinData(form.Form.get(), form.Data);
    auto panel = std::make_unique<TbsDataSkinPanelControl>("richedit");
    TbsLoadedSkin other = SkinOf(std::move(panel));
    LoadSkin(*form.Data, other);
    EXPECT_FALSE(Pane->IsSkinned());
    EXPECT_EQ(Pane->Color(), QColor(0, 0, 0x80));
    EXPECT_EQ(Pane->font(), big);
}

TEST_F(RichEditSkin, SkinnedTheEntryGivesFontColourAndBackgroundAndDefaultsWaitTheirTurn)
{
    Pane->SetSkinSupport(true);
    TbsLoadedSkin skin = SkinOf(RichEntry("Courier New", -24, fsBold | fsItalic, 0x00FFFF, 0x402010));
    LoadSkin(*form.Data, skin);
    // Assigning a loaded skin applies it.
    Pane->SetSkinData(form.Data);
    ASSERT_TRUE(Pane->IsSkinned());
    EXPECT_EQ(Pane->font().family(), bsFontFamily("Courier New"));
    EXPECT_EQ(Pane->font().pixelSize(), 24);
    EXPECT_TRUE(Pane->font().bold());
    EXPECT_TRUE(Pane->font().italic());
    EXPECT_EQ(Pane->FontColor(), kYellow);
    EXPECT_EQ(Pane->Color(), kNavy);

    // While skinned the defaults are only remembered.
    Pane->SetDefaultColor(Qt::red);
    QFont small(QStringLiteral("Liberation Sans"));
    small.setPixelSize(9);
    Pane->SetDefaultFont(small);
    EXPECT_EQ(Pane->Color(), kNavy);
    EXPECT_EQ(Pane->font().pixelSize(), 24);

    // On the screen: navy background, yellow letters, and a highlighted run
    // keeps exactly its own background.
    Pane->SetText(u"WWWW plain HHHH");
    Pane->Select(0, 4);
    Pane->SetSelBackColor(0x00FF00);  // green
    Pane->Select(0, 0);
    Show();
    const QImage shot = Grab(*Pane);
    EXPECT_EQ(shot.pixel(295, 115), kNavy.rgb());
    EXPECT_GT(Count(shot, kYellow), 30);
    EXPECT_GT(Count(shot, QColor(0, 0xFF, 0)), 100);
    EXPECT_EQ(Count(shot, Qt::red), 0);

    // The skin goes away: the defaults assigned meanwhile take over.
    form.Data->ClearSkin();
    Pane->ApplySkin();
    EXPECT_FALSE(Pane->IsSkinned());
    EXPECT_EQ(Pane->Color(), QColor(Qt::red));
    EXPECT_EQ(Pane->font(), small);
}

TEST_F(RichEditSkin, ASkinChangedWhileShownRestylesThePaneAndItsBarFollows)
{
    auto* bar = new TbsSkinScrollBar(Qt::Vertical, form.Form.get());
    bar->setGeometry(300, 0, 19, 120);
    Pane->SetVScrollBar(bar);
    Pane->SetSkinSupport(true);
    std::u16string text;
    for (int i = 0; i < 12; ++i)
        text += u"line\r\n";
    Pane->SetText(text);
    bsBindSkinData(form.Form.get(), form.Data);
    TbsLoadedSkin first = SkinOf(RichEntry("Arial", -12, 0, 0x00FFFF, 0x402010));
    LoadSkin(*form.Data, first);
    Show();
    QApplication::processEvents();
    EXPECT_EQ(Grab(*Pane).pixel(250, 60), kNavy.rgb());
    const int smallMax = bar->Max();

    // Letters three times as tall: the document grows and the bar's range
    // with it; the new colours are on the screen.
    TbsLoadedSkin second = SkinOf(RichEntry("Arial", -36, 0, 0xFFFFFF, 0x004000));
    LoadSkin(*form.Data, second);
    QApplication::processEvents();
    EXPECT_TRUE(Pane->IsSkinned());
    EXPECT_EQ(Pane->font().pixelSize(), 36);
    EXPECT_EQ(Grab(*Pane).pixel(250, 60), QColor(0, 0x40, 0).rgb());
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_GT(bar->Max(), smallMax + 200);
    EXPECT_EQ(bar->PageSize(), Pane->verticalScrollBar()->pageStep());

    // The skin's texts decide the character set once the skin is applied.
    EXPECT_EQ(Pane->CharSet(), DEFAULT_CHARSET);
    TbsResourceStrData texts;
    texts.CharSet = 204;
    form.Data->SetResourceStrData(&texts);
    LoadSkin(*form.Data, second);
    EXPECT_EQ(Pane->CharSet(), 204);
    form.Data->SetResourceStrData(nullptr);
}

TEST_F(RichEditSkin, HostileEntryValuesGiveAUsableFont)
{
    Pane->SetSkinSupport(true);
    Pane->SetSkinData(form.Data);
    for (int height : {0, 2147483647, -2147483647 - 1, 5000, -5000}) {
        TbsLoadedSkin skin = SkinOf(RichEntry("", height, 0xFF, 0xFFFFFFFF, 0xFFFFFFFF));
        LoadSkin(*form.Data, skin);
        ASSERT_TRUE(Pane->IsSkinned()) << height;
        EXPECT_GE(Pane->font().pixelSize(), 1) << height;
        EXPECT_LE(Pane->font().pixelSize(), 1000) << height;
        EXPECT_FALSE(Pane->font().family().isEmpty());
        EXPECT_EQ(Pane->Color(), QColor(Qt::white)) << height;
    }
}
