#include "skinctrls/TbsSkinRichEdit.h"

#include "skin/bsSkinControls.h"
#include "skin/bsSkinData.h"
#include "skinctrls/TbsSkinScrollBar.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QScrollBar>
#include <climits>
#include <QScopedValueRollback>

namespace rasp {

TbsSkinRichEdit::TbsSkinRichEdit(QWidget* parent)
    : QtRichTextPane(parent), TbsSkinBinding(QStringLiteral("richedit"))
{
    setFrameStyle(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The pane's own bar stays the scrolling state; the skinned bar follows
    // every change of it, whatever caused it (typing, wheel, keys, resizing).
    QScrollBar* own = verticalScrollBar();
    connect(own, &QScrollBar::rangeChanged, this, [this] { SyncScrollBars(); });
    connect(own, &QScrollBar::valueChanged, this, [this] { SyncScrollBars(); });
    // The pane starts in its default font; the default colours are the
    // desktop's window colours.
    FDefaultFont = font();
    FDefaultFontColor = clWindowText();
    FDefaultColor = clWindow();
    ApplyRichEditSkin();
}

TbsSkinData* TbsSkinRichEdit::SkinData() const { return FSkinData.data(); }

bool TbsSkinRichEdit::IsSkinned() const { return FSkinned && FSkinData && !FSkinData->SkinEmpty; }

void TbsSkinRichEdit::SetSkinData(TbsSkinData* skinData)
{
    FSkinData = skinData;
    if (skinData && !skinData->SkinEmpty)
        ApplySkin();
}

void TbsSkinRichEdit::ApplySkin()
{
    ApplyRichEditSkin();
}

void TbsSkinRichEdit::SetSkinSupport(bool on)
{
    if (FSkinSupport == on)
        return;
    FSkinSupport = on;
    if (on)
        ApplyRichEditSkin();
}

void TbsSkinRichEdit::SetDefaultFont(const QFont& font)
{
    FDefaultFont = font;
    if (FSkinSupport && !FSkinned)
        setFont(FDefaultFont);
}

void TbsSkinRichEdit::SetDefaultFontColor(const QColor& color)
{
    FDefaultFontColor = color;
    if (FSkinSupport && !FSkinned)
        SetFontColor(color);
}

void TbsSkinRichEdit::SetDefaultColor(const QColor& color)
{
    FDefaultColor = color;
    if (FSkinSupport && !FSkinned)
        SetColor(color);
}

QColor TbsSkinRichEdit::Color() const { return palette().color(QPalette::Active, QPalette::Base); }

void TbsSkinRichEdit::SetColor(const QColor& color)
{
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, color);
    setPalette(p);
}

QColor TbsSkinRichEdit::FontColor() const { return palette().color(QPalette::Active, QPalette::Text); }

void TbsSkinRichEdit::SetFontColor(const QColor& color)
{
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Text, color);
    setPalette(p);
}

void TbsSkinRichEdit::ApplyRichEditSkin()
{
    const TbsDataSkinRichEdit* entry = nullptr;
    if (TbsSkinData* data = FSkinData.data(); data && !data->SkinEmpty) {
        const int index = data->IndexOfControl(SkinDataName().toStdString());
        if (index >= 0)
            entry = dynamic_cast<const TbsDataSkinRichEdit*>(data->SkinControls[std::size_t(index)].get());
    }
    // An entry of another kind gives nothing to take a rich edit's look
    // from: the pane shows its default look then.
    FSkinned = entry != nullptr;
    if (FSkinSupport) {
        if (entry) {
            setFont(bsSkinFont(entry->fontname, entry->fontheight, entry->fontstyle));
            SetFontColor(bsColor(entry->fontcolor));
            SetColor(bsColor(entry->bgcolor));
        } else {
            setFont(FDefaultFont);
            SetFontColor(FDefaultFontColor);
            SetColor(FDefaultColor);
        }
    }
    FCharSet = bsSkinCharSet(FSkinData.data(), DEFAULT_CHARSET);
    SyncScrollBars();
    // The bar's width may have come with the skin: the pane's row is laid
    // out again.
    if (FVScrollBar)
        FVScrollBar->updateGeometry();
}

TbsSkinScrollBar* TbsSkinRichEdit::VScrollBar() const { return FVScrollBar.data(); }

void TbsSkinRichEdit::SetVScrollBar(TbsSkinScrollBar* bar)
{
    if (FVScrollBar) {
        disconnect(FVScrollBar, nullptr, this, nullptr);
        FVScrollBar->OnUpButtonClick = nullptr;
        FVScrollBar->OnDownButtonClick = nullptr;
    }
    FVScrollBar = bar;
    if (bar) {
        connect(bar, &TbsSkinScrollBar::Change, this, [this] { BarChanged(); });
        bar->OnUpButtonClick = [this] { LineDown(); };
        bar->OnDownButtonClick = [this] { LineUp(); };
    }
    SyncScrollBars();
}

void TbsSkinRichEdit::SyncScrollBars()
{
    TbsSkinScrollBar* bar = FVScrollBar.data();
    if (!bar || FSyncing)
        return;
    const QScrollBar* own = verticalScrollBar();
    // The pane scrolls in pixels over [0, max] with a page of the viewport's
    // height; the bar's range covers the whole document: [0, max + page - 1].
    // Positions travel as plain ints, so long articles scroll to their end.
    const int page = std::max(1, own->pageStep());
    const bool scrollable = own->maximum() > own->minimum() && !document()->isEmpty();
    if (scrollable) {
        if (!bar->isEnabled())
            bar->setEnabled(true);
        const long long top = (long long)own->maximum() + page - 1;
        bar->SetRange(own->minimum(), int(std::min<long long>(top, INT_MAX)), page, own->value());
        bar->SetSmallChange(own->singleStep());
        bar->SetLargeChange(page);
    } else {
        if (bar->isEnabled())
            bar->setEnabled(false);
        bar->SetRange(0, 0, 0, 0);
    }
}

void TbsSkinRichEdit::BarChanged()
{
    if (!FVScrollBar)
        return;
    QScopedValueRollback guard(FSyncing, true);
    verticalScrollBar()->setValue(FVScrollBar->Position());
}

void TbsSkinRichEdit::ScrollLines(int lines)
{
    QScrollBar* own = verticalScrollBar();
    own->setValue(own->value() + lines * fontMetrics().lineSpacing());
}

void TbsSkinRichEdit::LineDown()
{
    if (FVScrollBar && FVScrollBar->Position() < FVScrollBar->Max() - FVScrollBar->PageSize() + 1)
        ScrollLines(1);
    SyncScrollBars();
}

void TbsSkinRichEdit::LineUp()
{
    if (FVScrollBar && FVScrollBar->Position() != 0)
        ScrollLines(-1);
    SyncScrollBars();
}

}  // namespace rasp
