#include "skinctrls/TbsSkinStdLabel.h"

#include "skin/bsSkinControls.h"
#include "skin/bsSkinData.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace rasp {

TbsSkinStdLabel::TbsSkinStdLabel(QWidget* parent, const QString& caption)
    : QLabel(parent), FDefaultFont(bsSkinFont("Arial", -11, 0)), FDefaultFontColor(clWindowText()),
      FSkinDataName(QStringLiteral("stdlabel"))
{
    setTextFormat(Qt::PlainText);
    // The small dialog font of the desktop is the label's own font too.
    setFont(FDefaultFont);
    SetCaption(caption);
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* skinData)
{
    FSkinData = skinData;
    if (skinData && !skinData->SkinEmpty)
        ApplySkin();
}

const TbsDataSkinStdLabelControl* TbsSkinStdLabel::SkinEntry() const
{
    const TbsSkinData* data = FSkinData.data();
    if (!data || data->SkinEmpty)
        return nullptr;
    const int index = data->IndexOfControl(FSkinDataName.toStdString());
    if (index < 0)
        return nullptr;
    return dynamic_cast<const TbsDataSkinStdLabelControl*>(data->SkinControls[std::size_t(index)].get());
}

void TbsSkinStdLabel::ApplySkin()
{
    AdjustBounds();
    update();
}

void TbsSkinStdLabel::AdjustBounds()
{
    if (FAutoSize)
        adjustSize();
}

void TbsSkinStdLabel::SetDefaultFont(const QFont& font)
{
    FDefaultFont = font;
    AdjustBounds();
    update();
}

void TbsSkinStdLabel::SetDefaultFontColor(const QColor& c)
{
    FDefaultFontColor = c;
    update();
}

void TbsSkinStdLabel::SetUseSkinFont(bool on)
{
    FUseSkinFont = on;
    AdjustBounds();
    update();
}

void TbsSkinStdLabel::SetAutoSize(bool on)
{
    FAutoSize = on;
    AdjustBounds();
}

void TbsSkinStdLabel::SetShowAccelChar(bool on)
{
    FShowAccelChar = on;
    AdjustBounds();
    update();
}

void TbsSkinStdLabel::SetCaption(const QString& caption)
{
    setText(caption);
    AdjustBounds();
    update();
}

QFont TbsSkinStdLabel::DrawFont() const
{
    const TbsDataSkinStdLabelControl* e = SkinEntry();
    QFont f = font();
    if (e && FUseSkinFont)
        f = bsSkinFont(e->fontname, e->fontheight, e->fontstyle);
    else if (!e && FUseSkinFont)
        f = FDefaultFont;
    if (FAlwaysUnderline)
        f.setUnderline(true);
    return f;
}

QColor TbsSkinStdLabel::SkinColor(const TbsDataSkinStdLabelControl& entry) const { return bsColor(entry.fontcolor); }

QColor TbsSkinStdLabel::PlainColor() const
{
    return FUseSkinFont ? FDefaultFontColor : palette().color(QPalette::WindowText);
}

QColor TbsSkinStdLabel::DrawColor() const
{
    if (const TbsDataSkinStdLabelControl* e = SkinEntry())
        return SkinColor(*e);
    return PlainColor();
}

int TbsSkinStdLabel::CharSet() const { return bsSkinCharSet(SkinData(), DEFAULT_CHARSET); }

int TbsSkinStdLabel::TextFlags() const
{
    int flags = int(alignment());
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    flags |= FShowAccelChar ? Qt::TextShowMnemonic : Qt::TextDontClip;
    return flags;
}

QSize TbsSkinStdLabel::sizeHint() const
{
    QString t = text();
    if (t.isEmpty() || (FShowAccelChar && t == QLatin1String("&")))
        t = QStringLiteral(" ");
    const QFontMetrics fm(DrawFont());
    const int flags = TextFlags() & ~int(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask);
    if (wordWrap() && width() > 0)
        return fm.boundingRect(QRect(0, 0, width(), 100000), flags, t).size();
    return fm.size(flags, t);
}

QSize TbsSkinStdLabel::minimumSizeHint() const { return sizeHint(); }

void TbsSkinStdLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(DrawFont());
    const QRect r = rect();
    const QString t = text();
    if (!isEnabled()) {
        p.setPen(clBtnHighlight());
        p.drawText(r.translated(1, 1), TextFlags(), t);
        p.setPen(clBtnShadow());
        p.drawText(r, TextFlags(), t);
        return;
    }
    p.setPen(DrawColor());
    p.drawText(r, TextFlags(), t);
}

void TbsSkinStdLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && !FUseSkinFont)
        AdjustBounds();
}

}  // namespace rasp
