#include "skinctrls/TbsSkinPanel.h"

#include "skin/bsSkinControls.h"
#include "skin/bsSkinData.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QFontMetrics>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace rasp {

namespace {

// A one-pixel frame: first colour top and left, second bottom and right.
void Frame3D(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

// A picture piece with its bottom-left colour left out.
QImage Transparent(const QImage& piece)
{
    QImage out = piece.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull())
        return out;
    const QRgb key = out.pixel(0, out.height() - 1);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (line[x] == key)
                line[x] = 0;
    }
    return out;
}

}  // namespace

TbsSkinPanel::TbsSkinPanel(QWidget* parent) : TbsSkinCustomControl(parent, QStringLiteral("panel"))
{
    resize(150, 150);
    SkinGeometryChanged();
}

const TbsDataSkinPanelControl* TbsSkinPanel::Entry() const
{
    return IsSkinned() ? dynamic_cast<const TbsDataSkinPanelControl*>(SkinEntry()) : nullptr;
}

void TbsSkinPanel::SetBorderStyle(TbsBorderStyle style)
{
    FBorderStyle = style;
    // bvNone also changes the skinned look: the frameless tiled client area.
    SkinGeometryChanged();
    update();
}

void TbsSkinPanel::SetCaption(const QString& caption)
{
    FCaption = caption;
    if (FCaptionMode || IsSkinned())
        update();
}

void TbsSkinPanel::SetCaptionMode(bool on)
{
    FCaptionMode = on;
    SkinGeometryChanged();
    update();
}

void TbsSkinPanel::SetDefaultCaptionHeight(int h)
{
    FDefaultCaptionHeight = std::max(0, h);
    if (!IsSkinned() && FCaptionMode) {
        SkinGeometryChanged();
        update();
    }
}

void TbsSkinPanel::SetDefaultAlignment(TbsTextAlignment a)
{
    FDefaultAlignment = a;
    if (!IsSkinned() && FCaptionMode)
        update();
}

void TbsSkinPanel::SetCheckedMode(bool on)
{
    FCheckedMode = on;
    update();
}

void TbsSkinPanel::SetChecked(bool on)
{
    FChecked = on;
    if (FCheckedMode) {
        update();
        if (FAutoEnabledControls) {
            for (QObject* o : children())
                if (o->isWidgetType())
                    static_cast<QWidget*>(o)->setEnabled(on);
        }
    }
    emit OnChecked();
}

void TbsSkinPanel::SetRollUpMode(bool on)
{
    FRollUpMode = on;
    if (!on && FRollUpState)
        SetRollUpState(false);
    if (!IsSkinned() && FCaptionMode)
        update();
}

void TbsSkinPanel::SetGlyph(const QImage& glyph)
{
    FGlyph = glyph;
    update();
}

void TbsSkinPanel::SetNumGlyphs(int n)
{
    FNumGlyphs = std::clamp(n, 1, 2);
    update();
}

void TbsSkinPanel::SetSpacing(int s)
{
    FSpacing = s;
    update();
}

QRect TbsSkinPanel::PanelClientRect() const
{
    if (IsSkinned()) {
        const TbsDataSkinPanelControl* e = Entry();
        const bool frameless = FBorderStyle == bvNone && !FCaptionMode && Geometry().Mode == pmNinePiece;
        if ((e && e->bgpictureindex != -1 && SkinData()->ActivePicture(e->bgpictureindex)) || frameless)
            return rect();
        return bsQRect(Current().ClientRect);
    }
    QRect r = rect();
    if (FBorderStyle != bvNone)
        r.adjust(1, 1, -1, -1);
    if (FCaptionMode)
        r.setTop(std::max(r.top(), FDefaultCaptionHeight));
    return r;
}

QRect TbsSkinPanel::CaptionRect() const
{
    if (const TbsDataSkinPanelControl* e = Entry())
        return bsQRect(MapSkinRect(e->captionrect));
    return QRect(1, 1, width() - 2, FDefaultCaptionHeight - 1);
}

void TbsSkinPanel::SkinGeometryChanged()
{
    const QRect c = PanelClientRect();
    const QMargins m(std::max(0, c.left()), std::max(0, c.top()), std::max(0, width() - 1 - c.right()),
                     std::max(0, height() - 1 - c.bottom()));
    // While folded the panel keeps the margins of its unfolded look.
    if (!FRollUpState && contentsMargins() != m)
        setContentsMargins(m);
}

void TbsSkinPanel::Realign()
{
    if (QLayout* l = layout())
        l->activate();
}

void TbsSkinPanel::ApplySkin()
{
    TbsSkinCustomControl::ApplySkin();
    if (FRollUpState) {
        // Folded again to the new skin's caption height, the unfolded height kept.
        const int real = FRealHeight;
        FRollUpState = false;
        Fold(true);
        FRealHeight = real;
    }
}

QImage TbsSkinPanel::GlyphCell() const
{
    if (FGlyph.isNull())
        return {};
    const int cw = FGlyph.width() / FNumGlyphs;
    if (cw <= 0)
        return {};
    const int cell = (!isEnabled() && FNumGlyphs == 2) ? 1 : 0;
    return Transparent(FGlyph.copy(cell * cw, 0, cw, FGlyph.height()));
}

void TbsSkinPanel::DrawCaptionText(QImage& image, QRect r, const QFont& font, const QColor& color,
                                   TbsTextAlignment align, bool skinned) const
{
    QPainter p(&image);
    p.setClipRect(r);
    p.setFont(font);
    const QFontMetrics fm(font);
    const QImage glyph = GlyphCell();
    const int textW = fm.horizontalAdvance(FCaption);
    const int fullW = textW + (glyph.isNull() ? 0 : glyph.width() + FSpacing);
    int x = r.left();
    if (align == taRightJustify)
        x = r.left() + r.width() - fullW;
    else if (align == taCenter)
        x = r.left() + r.width() / 2 - fullW / 2;
    else if (!skinned)
        x = r.left() + 2;
    const int cy = r.top() + r.height() / 2;
    if (!glyph.isNull()) {
        p.drawImage(QPoint(x, cy - glyph.height() / 2), glyph);
        x += glyph.width() + FSpacing;
    }
    p.setPen(color);
    p.drawText(QPoint(x, cy - fm.height() / 2 + fm.ascent()), FCaption);
}

void TbsSkinPanel::DrawArrow(QImage& image, const QRect& r, const QColor& color) const
{
    QPainter p(&image);
    const int cx = r.left() + r.width() / 2, cy = r.top() + r.height() / 2;
    QPolygon tri;
    if (FRollUpState)
        tri << QPoint(cx - 4, cy - 2) << QPoint(cx + 4, cy - 2) << QPoint(cx, cy + 2);
    else
        tri << QPoint(cx - 4, cy + 2) << QPoint(cx + 4, cy + 2) << QPoint(cx, cy - 2);
    p.setPen(color);
    p.setBrush(color);
    p.drawPolygon(tri);
}

void TbsSkinPanel::DrawSkinImage(QImage& image)
{
    image.fill(clBtnFace());
    const TbsDataSkinPanelControl* e = Entry();
    const TbsPieceGeometry& g = Geometry();
    if (e && e->bgpictureindex != -1) {
        if (const QImage* bg = SkinData()->ActivePicture(e->bgpictureindex); bg && !bg->isNull()) {
            bsTileRect(bsTarget(image), {0, 0, width(), height()}, bsView(*bg), {0, 0, bg->width(), bg->height()});
            return;
        }
    }
    if (FBorderStyle == bvNone && !FCaptionMode && g.Mode == pmNinePiece) {
        // Frameless: only the inner texture, tiled from the corner.
        const TbsRect& s = g.SkinRect;
        const TbsRect& c = g.ClientRect;
        bsTileRect(bsTarget(image), {0, 0, width(), height()}, bsView(*Picture()),
                   {s.Left + c.Left, s.Top + c.Top, s.Left + c.Right, s.Top + c.Bottom});
        return;
    }
    BuildPieceImage(image, Picture(), g.SkinRect);
    if (!e || FCaption.isEmpty() || e->captionrect.IsEmpty())
        return;
    QRect r = CaptionRect();
    if (FRollUpMode)
        r.setRight(r.right() - 12);
    const QColor color = bsColor(e->fontcolor);
    if (FCheckedMode) {
        const TbsRect& piece = FChecked ? e->checkimagerect : e->uncheckimagerect;
        if (!piece.IsEmpty() && Picture()) {
            const QImage mark = Transparent(Picture()->copy(bsQRect(piece)));
            QPainter p(&image);
            p.drawImage(QPoint(r.left(), r.top() + r.height() / 2 - mark.height() / 2), mark);
            r.setLeft(r.left() + mark.width() + 2);
        }
    }
    const TbsTextAlignment align = e->alignment == TbsAlignment::taLeftJustify  ? taLeftJustify
                                   : e->alignment == TbsAlignment::taCenter     ? taCenter
                                                                                : taRightJustify;
    DrawCaptionText(image, r, ControlFont(e), color, align, true);
    if (FRollUpMode)
        DrawArrow(image, QRect(r.right() + 1, r.top(), 10, r.height()), color);
}

void TbsSkinPanel::DrawDefaultImage(QImage& image)
{
    image.fill(clBtnFace());
    const int w = width(), h = height();
    {
        QPainter p(&image);
        switch (FBorderStyle) {
        case bvFrame: Frame3D(p, QRect(0, 0, w, h), clBtnShadow(), clBtnShadow()); break;
        case bvRaised: Frame3D(p, QRect(0, 0, w, h), clBtnHighlight(), clBtnShadow()); break;
        case bvLowered: Frame3D(p, QRect(0, 0, w, h), clBtnShadow(), clBtnHighlight()); break;
        case bvNone: break;
        }
        if (!FCaptionMode)
            return;
        const int ch = FDefaultCaptionHeight;
        QRect bar;
        if (FBorderStyle == bvFrame) {
            bar = QRect(0, 0, w, ch);
            Frame3D(p, bar, clBtnShadow(), clBtnShadow());
            Frame3D(p, bar.adjusted(1, 1, -1, -1), clBtnHighlight(), clBtnFace());
        } else {
            bar = QRect(1, 1, w - 2, ch - 1);
            Frame3D(p, bar, clBtnShadow(), clBtnHighlight());
            Frame3D(p, bar.adjusted(1, 1, -1, -1), clBtnHighlight(), clBtnShadow());
        }
        QRect text = bar.adjusted(2, 2, -2, -2);
        if (FCheckedMode) {
            const QRect box(5, bar.top() + bar.height() / 2 - 7, 14, 14);
            Frame3D(p, box, clBtnShadow(), clBtnShadow());
            if (FChecked) {
                p.setPen(QPen(clBtnText(), 1));
                for (int i = 0; i < 3; ++i)
                    p.drawPolyline(QPolygon({QPoint(box.left() + 3, box.top() + 5 + i),
                                             QPoint(box.left() + 5, box.top() + 7 + i),
                                             QPoint(box.left() + 10, box.top() + 2 + i)}));
            }
            text.setLeft(text.left() + 20);
        }
        if (FRollUpMode)
            text.setRight(text.right() - 10);
        p.end();
        if (!FCaption.isEmpty())
            DrawCaptionText(image, text, DefaultFont(), DefaultFontColor(), FDefaultAlignment, false);
        if (FRollUpMode)
            DrawArrow(image, QRect(text.right() + 1, bar.top(), 10, bar.height()), DefaultFontColor());
    }
}

void TbsSkinPanel::mouseReleaseEvent(QMouseEvent* event)
{
    TbsSkinCustomControl::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !FCaptionMode)
        return;
    const QPoint pos = event->position().toPoint();
    QRect hit = IsSkinned() ? CaptionRect() : QRect(1, 1, width() - 2, FDefaultCaptionHeight - 1);
    if (!hit.contains(pos))
        return;
    if (FCheckedMode)
        SetChecked(!FChecked);
    if (FRollUpMode)
        SetRollUpState(!FRollUpState);
}

void TbsSkinPanel::SetRollUpState(bool on)
{
    if (!FRollUpMode)
        on = false;
    if (on == FRollUpState)
        return;
    Fold(on);
    emit OnChangeRollUpState();
}

void TbsSkinPanel::Fold(bool rollUp)
{
    const bool fixed = minimumHeight() == maximumHeight();
    auto setHeight = [&](int h) {
        if (fixed)
            setFixedHeight(h);
        else
            resize(width(), h);
    };
    if (rollUp) {
        FRealHeight = height();
        if (QLayout* l = layout())
            l->setEnabled(false);
        for (QObject* o : children())
            if (o->isWidgetType())
                static_cast<QWidget*>(o)->hide();
        const int folded = IsSkinned() ? height() - Current().ClientRect.Height() : FDefaultCaptionHeight + 1;
        FRollUpState = true;
        setHeight(std::max(0, folded));
    } else {
        FRollUpState = false;
        const int real = FRealHeight;
        FRealHeight = -1;
        if (real >= 0)
            setHeight(real);
        for (QObject* o : children())
            if (o->isWidgetType())
                static_cast<QWidget*>(o)->show();
        if (QLayout* l = layout())
            l->setEnabled(true);
        SkinGeometryChanged();
        Realign();
    }
    update();
}

}  // namespace rasp
