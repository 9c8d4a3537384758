#include "app/MainWindow.h"

#include "app/RightAnchors.h"
#include "app/TImage.h"
#include "app/UUtils.h"
#include "gif/GIFAnimator.h"
#include "skin/bsSkinForm.h"
#include "skin/bsSkinMessages.h"
#include "skinctrls/ExceptionSink.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace rasp {

namespace {

constexpr int kClientWidth = 753;
constexpr int kClientHeight = 520;

template <class T, class... A>
T* Place(QWidget* parent, const char* name, int x, int y, int w, int h, A&&... args)
{
    auto* control = new T(parent, std::forward<A>(args)...);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(x, y, w, h);
    return control;
}

TbsSkinStdLabel* Label(QWidget* parent, const char* name, int x, int y, const QString& caption)
{
    auto* label = new TbsSkinStdLabel(parent, caption);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    return label;
}

TbsSkinNumericEdit* NumericEdit(QWidget* parent, const char* name, int x, int y, int w, int h,
                                bool result)
{
    auto* edit = Place<TbsSkinNumericEdit>(parent, name, x, y, w, h);
    if (result) {
        // Results are shown, not typed: read-only, disabled, grey.
        edit->setReadOnly(true);
        edit->setEnabled(false);
    }
    return edit;
}

}  // namespace

TfrmMain::TfrmMain(TMainWindowOptions options, QWidget* parent)
    : QWidget(parent), FOptions(std::move(options))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tellivo Rasp"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);

    msgMain = new TbsSkinMessage(this);
    msgMain->setObjectName(QStringLiteral("msgMain"));
    msgMain->DefaultFont.setPixelSize(15);
    msgMain->DefaultButtonFont.setPixelSize(15);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);

    BuildToolStrip();
    BuildBanner();
    BuildArticles();
    BuildFooter();
    BuildPopupMenus();

    auto* middle = new QWidget(this);
    auto* columns = new QHBoxLayout(middle);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(panLeft);
    columns->addWidget(bsSkinPanel5);
    columns->addWidget(bsSkinGroupBox2, 1);

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addWidget(bsSkinPanel1);
    rows->addWidget(panBanner);
    rows->addWidget(middle, 1);
    rows->addWidget(bsSkinPanel4);

    resize(kClientWidth, kClientHeight);
    CreateSkinComponents();
    // The fixed size is the client's; the skin's frame comes around it,
    // and later skins keep it.
    bsSkinForm1->SetClientSize(QSize(kClientWidth, kClientHeight));
    bsSkinForm1->KeepClientSize = true;
    WireEvents();
    FormCreate();
    UpdateMinimumSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

TfrmMain::~TfrmMain()
{
    FormDestroy();
    // The child controls outlive the window's own members; nothing they do
    // while they are taken down may reach this window's handlers any more.
    rchArticle1->SetOnChange(nullptr);
    rchArticle2->SetOnChange(nullptr);
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

QString TfrmMain::ProgramDir() const
{
    QString dir = FOptions.ProgramDir.isEmpty() ? QCoreApplication::applicationDirPath() : FOptions.ProgramDir;
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

void TfrmMain::BuildToolStrip()
{
    bsSkinPanel1 = new TbsSkinPanel(this);
    bsSkinPanel1->setObjectName(QStringLiteral("bsSkinPanel1"));
    bsSkinPanel1->setFixedHeight(33);
    btnCompareEx = Place<TbsSkinButton>(bsSkinPanel1, "btnCompareEx", 7, 6, 98, 20, QStringLiteral("Compare"));
    btnHelp = Place<TbsSkinButton>(bsSkinPanel1, "btnHelp", 107, 6, 98, 20, QStringLiteral("Help"));
    btnUpdate = Place<TbsSkinButton>(bsSkinPanel1, "btnUpdate", 207, 6, 99, 20, QStringLiteral("Check Updates"));
    btnMakeMoney = Place<TbsSkinButton>(bsSkinPanel1, "btnMakeMoney", 308, 6, 98, 20, QStringLiteral("Make Money"));
}

void TfrmMain::BuildBanner()
{
    panBanner = new TbsSkinPanel(this);
    panBanner->setObjectName(QStringLiteral("panBanner"));
    panBanner->setFixedHeight(65);
    imgBanner = new TImage(panBanner);
    imgBanner->setObjectName(QStringLiteral("imgBanner"));
    imgBanner->resize(0, 0);
    gifBanner = new TGIFAnimator(panBanner);
    gifBanner->setObjectName(QStringLiteral("gifBanner"));
    gifBanner->SetAnimate(true);
    gifBanner->resize(0, 0);
}

void TfrmMain::BuildFooter()
{
    bsSkinPanel4 = new TbsSkinPanel(this);
    bsSkinPanel4->setObjectName(QStringLiteral("bsSkinPanel4"));
    bsSkinPanel4->setFixedHeight(62);
    bsSkinPanel4->resize(kClientWidth, 62);
    QWidget* f = bsSkinPanel4;
    bsSkinStdLabel10 = Label(f, "bsSkinStdLabel10", 13, 13, QStringLiteral("Duplicate Content"));
    edtDuplicate = NumericEdit(f, "edtDuplicate", 104, 10, 49, 18, true);
    bsSkinStdLabel11 = Label(f, "bsSkinStdLabel11", 157, 13, QStringLiteral("%"));
    bsSkinStdLabel3 = Label(f, "bsSkinStdLabel3", 340, 13, QStringLiteral("Minimun Length Of the Matching Parts = "));
    minNumWords = Place<TbsSkinSpinEdit>(f, "minNumWords", 537, 9, 49, 20);
    // A window of fewer than one unit means nothing: the field stays at 1 or more.
    minNumWords->SetMaxValue(2147483647.0);
    minNumWords->SetMinValue(1);
    minNumWords->SetValue(1);
    minNumWords->SetIncrement(1);
    cbxType = Place<TbsSkinComboBox>(f, "cbxType", 596, 9, 145, 20);
    cbxType->addItems({QStringLiteral("Word(s)"), QStringLiteral("Sentence(s)"), QStringLiteral("Paragraph(s)")});
    cbxType->SetItemIndex(0);
    lblLink1URL = new TbsSkinLinkLabel(f, QStringLiteral("Google"));
    lblLink1URL->setObjectName(QStringLiteral("lblLink1URL"));
    lblLink1URL->move(13, 36);
    lblLink1URL->SetURL(QStringLiteral("https://www.google.com/"));
    lblLink2URL = new TbsSkinLinkLabel(f, QStringLiteral("Google"));
    lblLink2URL->setObjectName(QStringLiteral("lblLink2URL"));
    lblLink2URL->move(701, 36);
    lblLink2URL->SetRightJustify(true);
    lblLink2URL->SetURL(QStringLiteral("https://www.google.com/"));

    // The caption must not run under the spin edit it introduces.
    if (bsSkinStdLabel3->x() + bsSkinStdLabel3->width() > minNumWords->x() - 2)
        bsSkinStdLabel3->move(minNumWords->x() - 2 - bsSkinStdLabel3->width(), bsSkinStdLabel3->y());
    auto* anchors = new TRightAnchors(f, kClientWidth);
    anchors->Anchor(bsSkinStdLabel3);
    anchors->Anchor(minNumWords);
    anchors->Anchor(cbxType);
    anchors->Anchor(lblLink2URL);
}

void TfrmMain::BuildArticles()
{
    panLeft = new TbsSkinGroupBox(this, QStringLiteral("Article 1"));
    panLeft->setObjectName(QStringLiteral("panLeft"));
    panLeft->setFixedWidth(364);
    bsSkinPanel5 = new TbsSkinPanel(this);
    bsSkinPanel5->setObjectName(QStringLiteral("bsSkinPanel5"));
    bsSkinPanel5->SetBorderStyle(bvNone);
    bsSkinPanel5->setFixedWidth(5);
    bsSkinGroupBox2 = new TbsSkinGroupBox(this, QStringLiteral("Article 2"));
    bsSkinGroupBox2->setObjectName(QStringLiteral("bsSkinGroupBox2"));
    BuildArticle(panLeft, 1);
    BuildArticle(bsSkinGroupBox2, 2);
}

void TfrmMain::BuildArticle(TbsSkinGroupBox* box, int number)
{
    const bool first = number == 1;
    auto name = [number](const char* base) { return QString::fromLatin1(base) + QString::number(number); };
    auto named = [](QWidget* w, const QString& n) { w->setObjectName(n); };

    auto* bar = new TbsSkinPanel(box);
    named(bar, first ? QStringLiteral("bsSkinPanel2") : QStringLiteral("bsSkinPanel7"));
    bar->SetBorderStyle(bvNone);
    bar->setFixedHeight(37);
    // At the fixed client size the bar inside article 1's box is 356 pixels wide:
    // the three buttons and their gaps must end inside it.
    auto* import = Place<TbsSkinButton>(bar, "", 2, 9, 103, 20, QStringLiteral("Import"));
    named(import, name("btnImport"));
    auto* clearH = Place<TbsSkinButton>(bar, "", 108, 9, 143, 20, QStringLiteral("Clear Highlighting"));
    named(clearH, name("btnClearH"));
    auto* clear = Place<TbsSkinButton>(bar, "", 254, 9, 102, 20, QStringLiteral("Delete All"));
    named(clear, name("btnClear"));

    auto* pane = new TbsSkinRichEdit(box);
    named(pane, name("rchArticle"));
    // Whatever the skin, an article stays black Arial on white: a
    // comparison's run colours are backgrounds inside the text and plain
    // runs are black on white, so a skin's pane colours would break them up.
    pane->SetSkinSupport(false);
    auto* scroll = new TbsSkinScrollBar(Qt::Vertical, box);
    named(scroll, first ? QStringLiteral("bsSkinScrollBar1") : QStringLiteral("bsSkinScrollBar2"));
    pane->SetVScrollBar(scroll);
    // However small the window, a pane shows a few lines and its scroll bar
    // both arrows and a thumb.
    constexpr int kPaneLines = 3;
    pane->setMinimumHeight(pane->fontMetrics().lineSpacing() * kPaneLines
                           + int(std::ceil(2 * pane->document()->documentMargin())) + 2 * pane->frameWidth());
    scroll->setMinimumHeight(3 * scroll->width());

    auto* stats = new TbsSkinPanel(box);
    named(stats, first ? QStringLiteral("bsSkinPanel3") : QStringLiteral("bsSkinPanel6"));
    stats->SetBorderStyle(bvNone);
    stats->setFixedHeight(113);
    const int dx = first ? 0 : -3;
    const int dy = first ? 1 : 0;
    auto* contains = Label(stats, first ? "bsSkinStdLabel1" : "bsSkinStdLabel2", 8, 4, QStringLiteral("Contains"));
    auto* bevel = new TbsSkinBevel(stats);
    named(bevel, first ? QStringLiteral("bsSkinBevel1") : QStringLiteral("bsSkinBevel2"));
    bevel->setGeometry(contains->x() + contains->width() + 6, 11, 290, 2);
    auto* words = NumericEdit(stats, "", 16, 26, 49, 18, false);
    named(words, name("edtWords"));
    Label(stats, "", 67, 28, QStringLiteral(" Words,"))->setObjectName(name("lblWords"));
    auto* sentences = NumericEdit(stats, "", 113, 26 + dy, 49, 18, false);
    named(sentences, name("edtSenten"));
    Label(stats, "", 166, 28, QStringLiteral("Sentences,"))->setObjectName(name("lblSentences"));
    auto* paragraphs = NumericEdit(stats, "", 233, 26 + dy, 49, 18, false);
    named(paragraphs, name("edtParag"));
    Label(stats, "", 286, 28, QStringLiteral("Paragraphs"))->setObjectName(name("lblParagraphs"));
    Label(stats, "", 16, 57, QStringLiteral("Keyword phrase:"))->setObjectName(name("lblKeyword"));
    auto* keyword = Place<TbsSkinEdit>(stats, "", 104, 55, 242, 18);
    named(keyword, name("edtKw"));
    auto* density = Place<TbsSkinButton>(stats, "", 20 + dx, 83, 174, 20, QStringLiteral("Calculate Keyword Density"));
    named(density, name("btnCalculateKwDensity"));
    auto* percent = NumericEdit(stats, "", 200 + dx, 84, 49, 18, true);
    named(percent, name("edtDensPerc"));
    Label(stats, "", 252 + dx, 86, QStringLiteral("%"))->setObjectName(name("lblDensPercent"));
    Label(stats, "", 270 + dx, 86, QStringLiteral("No:"))->setObjectName(name("lblDensNo"));
    auto* total = NumericEdit(stats, "", 296 + dx, 84, 49, 18, true);
    named(total, name("edtDensTotal"));

    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(0);
    column->addWidget(bar);
    // The bar stands beside the pane, at its right edge.
    auto* paneRow = new QHBoxLayout;
    paneRow->setSpacing(0);
    paneRow->addWidget(pane, 1);
    paneRow->addWidget(scroll);
    column->addLayout(paneRow, 1);
    column->addWidget(stats);

    if (first) {
        bsSkinPanel2 = bar; btnImport1 = import; btnClearH1 = clearH; btnClear1 = clear;
        rchArticle1 = pane; bsSkinScrollBar1 = scroll; bsSkinPanel3 = stats;
        bsSkinStdLabel1 = contains; bsSkinBevel1 = bevel; edtWords1 = words; edtSenten1 = sentences;
        edtParag1 = paragraphs; edtKw1 = keyword; btnCalculateKwDensity1 = density;
        edtDensPerc1 = percent; edtDensTotal1 = total;
    } else {
        bsSkinPanel7 = bar; btnImport2 = import; btnClearH2 = clearH; btnClear2 = clear;
        rchArticle2 = pane; bsSkinScrollBar2 = scroll; bsSkinPanel6 = stats;
        bsSkinStdLabel2 = contains; bsSkinBevel2 = bevel; edtWords2 = words; edtSenten2 = sentences;
        edtParag2 = paragraphs; edtKw2 = keyword; btnCalculateKwDensity2 = density;
        edtDensPerc2 = percent; edtDensTotal2 = total;
    }
}

void TfrmMain::BuildPopupMenus()
{
    // Each pane's menu holds one item that is never shown: it carries the
    // pane's Ctrl+V, which pastes plain text only.
    auto build = [this](TbsSkinRichEdit* pane, const char* menuName, const char* itemName) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(menuName));
        auto* item = new QAction(menu);
        item->setObjectName(QString::fromLatin1(itemName));
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
        item->setShortcutContext(Qt::WidgetShortcut);
        menu->addAction(item);
        pane->addAction(item);
        // That menu is the pane's context menu and shows no entry: a right
        // click opens nothing (rather than the editor's own menu).
        pane->setContextMenuPolicy(Qt::PreventContextMenu);
        return std::pair{menu, item};
    };
    std::tie(PopupMenu1, mnuPaste) = build(rchArticle1, "PopupMenu1", "mnuPaste");
    std::tie(PopupMenu2, MenuItem1) = build(rchArticle2, "PopupMenu2", "MenuItem1");
}

void TfrmMain::Run(void (TfrmMain::*handler)())
{
    try {
        (this->*handler)();
    } catch (...) {
        ReportException(std::current_exception());
    }
}

void TfrmMain::WireEvents()
{
    auto click = [this](TbsSkinButton* button, void (TfrmMain::*handler)()) {
        connect(button, &TbsSkinButton::clicked, this, [this, handler] { Run(handler); });
    };
    click(btnCompareEx, &TfrmMain::btnCompareExClick);
    click(btnHelp, &TfrmMain::btnHelpClick);
    click(btnUpdate, &TfrmMain::btnUpdateClick);
    click(btnMakeMoney, &TfrmMain::btnMakeMoneyClick);
    // Footer links open through the same browser launcher as every other link.
    for (TbsSkinLinkLabel* link : {lblLink1URL, lblLink2URL})
        link->SetOpener([this](const QString& url) { OpenLink(url); });
    click(btnImport1, &TfrmMain::btnImport1Click);
    click(btnImport2, &TfrmMain::btnImport2Click);
    click(btnClearH1, &TfrmMain::btnClearH1Click);
    click(btnClearH2, &TfrmMain::btnClearH2Click);
    click(btnClear1, &TfrmMain::btnClear1Click);
    click(btnClear2, &TfrmMain::btnClear2Click);
    click(btnCalculateKwDensity1, &TfrmMain::btnCalculateKwDensity1Click);
    click(btnCalculateKwDensity2, &TfrmMain::btnCalculateKwDensity2Click);
    connect(imgBanner, &TImage::Click, this, [this] { Run(&TfrmMain::imgBannerClick); });
    connect(gifBanner, &TGIFAnimator::clicked, this, [this] { Run(&TfrmMain::gifBannerClick); });
    // The change handling replaces the three typographic characters; typed
    // and pasted text is cleaned on its way in as well, so that undo never
    // meets a replacement it would have to undo first.
    auto clean = [](QString& text) {
        text.replace(QChar(0x00A0), u' ');
        text.replace(QChar(0x2019), u'\'');
        text.replace(QChar(0x2013), u'-');
    };
    rchArticle1->SetInputFilter(clean);
    rchArticle2->SetInputFilter(clean);
    rchArticle1->SetOnChange([this] { Run(&TfrmMain::rchArticle1Change); });
    rchArticle2->SetOnChange([this] { Run(&TfrmMain::rchArticle2Change); });
    connect(minNumWords, &TbsSkinSpinEdit::Change, this, [this] { Run(&TfrmMain::minNumWordsChange); });
    connect(mnuPaste, &QAction::triggered, this, [this] { Run(&TfrmMain::mnuPasteClick); });
    connect(MenuItem1, &QAction::triggered, this, [this] { Run(&TfrmMain::MenuItem1Click); });
    connect(Timer1, &QTimer::timeout, this, [this] { Run(&TfrmMain::Timer1Timer); });
}

void TfrmMain::FormCreate()
{
    // The six span lists exist with the comparer and start empty.
    gifBanner->setGeometry(imgBanner->geometry());
    try {
        LoadSettings();
    } catch (...) {
        // The window still opens; only the update check is not armed.
        ReportException(std::current_exception());
        return;
    }
    Timer1->start();
}

void TfrmMain::FormShow()
{
    // Each halving truncates on its own, so an odd difference may land one
    // pixel off the exact centre; the banner may stick out of its strip.
    imgBanner->move(panBanner->width() / 2 - imgBanner->width() / 2,
                    panBanner->height() / 2 - imgBanner->height() / 2);
    gifBanner->move(panBanner->width() / 2 - gifBanner->width() / 2,
                    panBanner->height() / 2 - gifBanner->height() / 2);
    // The window's frame is drawn by the skinned frame inside the window, so
    // the window's own width is its outer width.
    panLeft->setFixedWidth(std::max(0, width() / 2 - 10));
}

void TfrmMain::FormResize()
{
    FormShow();
}

bool TfrmMain::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // Once every control took the new skin, its fonts and frame set the
    // window's limits anew.
    if (int(event->type()) == SKN_AFTERCHANGE)
        UpdateMinimumSize();
    return handled;
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Shown, the controls have their final fonts and sizes.
    UpdateMinimumSize();
    Run(&TfrmMain::FormShow);
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Run(&TfrmMain::FormResize);
}

void TfrmMain::FormDestroy()
{
    Timer1->stop();
    // The span lists go with the comparer; freeing them cannot fail.
}

void TfrmMain::Timer1Timer()
{
    Timer1->stop();
    CheckForUpdates(true);
}

}  // namespace rasp
