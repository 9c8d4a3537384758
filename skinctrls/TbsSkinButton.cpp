#include "skinctrls/TbsSkinButton.h"

#include "skin/bsSkinControls.h"
#include "skinctrls/TbsDialogKeys.h"
#include "skinctrls/bsButtonMorph.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QAction>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMetaMethod>
#include <QPainter>
#include <QShortcutEvent>

namespace rasp {

TbsSkinButton::TbsSkinButton(QWidget* parent, const QString& caption)
    : TbsSkinCustomControl(parent, QStringLiteral("button")), FCaption(caption)
{
    resize(75, 25);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
    FRepeatTimer.setInterval(FRepeatInterval);
    // Clicks come at the period the user set, not a coarse approximation of it.
    FRepeatTimer.setTimerType(Qt::PreciseTimer);
    connect(&FRepeatTimer, &QTimer::timeout, this, [this] { ButtonClick(); });
    FMorphTimer.setInterval(20);
    connect(&FMorphTimer, &QTimer::timeout, this, [this] { MorphTick(); });
    GrabAccelerator();
}

TbsSkinButton::~TbsSkinButton()
{
    FRepeatTimer.stop();
    FMorphTimer.stop();
}

const TbsDataSkinButtonControl* TbsSkinButton::Entry() const
{
    return IsSkinned() ? dynamic_cast<const TbsDataSkinButtonControl*>(SkinEntry()) : nullptr;
}

void TbsSkinButton::setText(const QString& caption)
{
    FCaption = caption;
    GrabAccelerator();
    update();
}

void TbsSkinButton::GrabAccelerator()
{
    if (FShortcutId) {
        releaseShortcut(FShortcutId);
        FShortcutId = 0;
    }
    const QKeySequence key = QKeySequence::mnemonic(FCaption);
    if (!key.isEmpty())
        FShortcutId = grabShortcut(key);
}

void TbsSkinButton::SetRepeatInterval(int ms)
{
    FRepeatInterval = std::max(1, ms);
    FRepeatTimer.setInterval(FRepeatInterval);
}

void TbsSkinButton::SetCanFocused(bool on)
{
    FCanFocused = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    UpdateHot();
    update();
}

void TbsSkinButton::SetGroupIndex(int index)
{
    FGroupIndex = index;
    if (index != 0)
        SetCanFocused(false);
}

void TbsSkinButton::SetGlyph(const QImage& glyph)
{
    FGlyph = glyph;
    update();
}

void TbsSkinButton::SetNumGlyphs(int n)
{
    FNumGlyphs = std::clamp(n, 1, 4);
    update();
}

void TbsSkinButton::SetMargin(int m)
{
    if (m < -1)
        return;
    FMargin = m;
    update();
}

void TbsSkinButton::SetSpacing(int s)
{
    FSpacing = s;
    update();
}

void TbsSkinButton::SetLayout(TbsButtonLayout l)
{
    FLayout = l;
    update();
}

void TbsSkinButton::SetDefault(bool on)
{
    FDefault = on;
    // Which button Enter presses depends on this flag and the form's focus alone.
    FormFocusChanged(window()->focusWidget());
    update();
}

void TbsSkinButton::SetCancel(bool on) { FCancel = on; }

void TbsSkinButton::FormFocusChanged(QWidget* now)
{
    const bool buttonHasIt = qobject_cast<TbsSkinButton*>(now) != nullptr;
    FDefaultActive = buttonHasIt ? now == this : FDefault;
    // Only the Default button's look depends on where the focus went (and one
    // that just stopped being the Default button loses that look).
    if (FDefault || (FHot && !FMouseIn))
        UpdateHot();
}

bool TbsSkinButton::ShowsDefaultLook() const
{
    const QWidget* focus = window()->focusWidget();
    return FDefault && FCanFocused && FDefaultActive && focus && focus != this;
}

void TbsSkinButton::UpdateHot()
{
    const bool hot = isEnabled() && (FMouseIn || ShowsDefaultLook());
    if (hot == FHot)
        return;
    FHot = hot;
    RepaintOrMorph();
    update();
}

bool TbsSkinButton::DialogKey(const QKeyEvent& key)
{
    const int k = key.key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter) {
        if (!FDefaultActive || !isEnabled() || !isVisible())
            return false;
    } else if (k == Qt::Key_Escape) {
        const auto shifts = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (!FCancel || !FCanFocused || !isEnabled() || !isVisible() || (key.modifiers() & shifts))
            return false;
    } else {
        return false;
    }
    ButtonClick();
    return true;
}

void TbsSkinButton::SetAction(QAction* action)
{
    if (action == FAction)
        return;
    if (FAction)
        disconnect(FAction, nullptr, this, nullptr);
    FAction = action;
    if (!action)
        return;
    connect(action, &QAction::changed, this, [this] { TakeActionValues(false); });
    TakeActionValues(true);
}

void TbsSkinButton::TakeActionValues(bool all)
{
    if (!FAction)
        return;
    const QAction& a = *FAction;
    // A value the button was given of its own no longer follows the action.
    if (all || FCaption == FActionValues.Caption)
        setText(a.text());
    if (all || toolTip() == FActionValues.Hint)
        setToolTip(a.toolTip());
    if (all || !testAttribute(Qt::WA_ForceDisabled) == FActionValues.Enabled)
        setEnabled(a.isEnabled());
    // A button without a parent would become a window of its own: never shown this way.
    if ((all || !isHidden() == FActionValues.Visible) && parentWidget() && isHidden() == a.isVisible())
        setVisible(a.isVisible());
    FActionValues = {a.text(), a.toolTip(), a.isEnabled(), a.isVisible()};
}

void TbsSkinButton::SetDown(bool down)
{
    if (down == FDown)
        return;
    FDown = down;
    FMorphFactor = 1;
    if (down)
        StopMorph();
    else
        StartMorph();
    if (down && Grouped() && !FAllowAllUp && parentWidget()) {
        for (QObject* o : parentWidget()->children()) {
            auto* other = qobject_cast<TbsSkinButton*>(o);
            if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown)
                other->SetDown(false);
        }
    }
    update();
}

void TbsSkinButton::ButtonClick()
{
    // A button that cannot take the focus never closes a dialog this way.
    QPointer<QDialog> dialog;
    bool wasVisible = false;
    if (FCanFocused && FModalResult != 0) {
        dialog = qobject_cast<QDialog*>(window());
        if (dialog) {
            wasVisible = dialog->isVisible();
            dialog->setResult(FModalResult);
        }
    }
    // OnClick of its own wins over the action's.
    if (FAction && !isSignalConnected(QMetaMethod::fromSignal(&TbsSkinButton::clicked)))
        FAction->trigger();
    else
        emit clicked();
    // As a modal loop would, the dialog closes once the handlers are done,
    // unless one of them cleared the result or closed it already.
    if (dialog && dialog->result() != 0 && (dialog->isVisible() || !wasVisible))
        dialog->done(dialog->result());
}

bool TbsSkinButton::Morphing() const
{
    const TbsDataSkinButtonControl* e = Entry();
    return e && e->morphing;
}

void TbsSkinButton::StartMorph()
{
    if (!Morphing()) {
        FMorphFactor = (FHot || Focused()) ? 1 : 0;
        FMorphTimer.stop();
        update();
        return;
    }
    if (!FMorphTimer.isActive())
        FMorphTimer.start();
}

void TbsSkinButton::StopMorph() { FMorphTimer.stop(); }

void TbsSkinButton::MorphTick()
{
    const bool up = FHot || Focused();
    if (!Morphing()) {
        FMorphFactor = up ? 1 : 0;
        FMorphTimer.stop();
    } else {
        FMorphFactor += up ? 0.2 : -0.2;
        if (FMorphFactor >= 1 - 1e-9 || FMorphFactor <= 1e-9) {
            FMorphFactor = FMorphFactor > 0.5 ? 1 : 0;
            FMorphTimer.stop();
        }
    }
    update();
}

void TbsSkinButton::RepaintOrMorph()
{
    if (Grouped() && FDown)
        return;
    if (Focused() && !FDown)
        return;
    if (FDown) {
        FMorphFactor = 1;
        update();
    } else {
        StartMorph();
    }
}

void TbsSkinButton::LoadSkinEntry() { TbsSkinCustomControl::LoadSkinEntry(); }

void TbsSkinButton::ApplySkin()
{
    StopMorph();
    FMorphFactor = 0;
    TbsSkinCustomControl::ApplySkin();
    if ((FHot || Focused()) && Morphing())
        FMorphFactor = 1;
}

void TbsSkinButton::ForgetSkinEntry()
{
    // Nothing may blend from the old skin while it is replaced.
    StopMorph();
    TbsSkinCustomControl::ForgetSkinEntry();
}

bool TbsSkinButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        auto* se = static_cast<QShortcutEvent*>(event);
        if (se->shortcutId() == FShortcutId && FShortcutId != 0) {
            if (FCanFocused && isEnabled() && isVisible()) {
                setFocus(Qt::ShortcutFocusReason);
                ButtonClick();
            }
            return true;
        }
    }
    return TbsSkinCustomControl::event(event);
}

void TbsSkinButton::enterEvent(QEnterEvent* event)
{
    TbsSkinCustomControl::enterEvent(event);
    FHot = true;
    FMouseIn = true;
    RepaintOrMorph();
    if (FDown && FRepeatMode && !Grouped())
        FRepeatTimer.start();
}

void TbsSkinButton::leaveEvent(QEvent* event)
{
    TbsSkinCustomControl::leaveEvent(event);
    FMouseIn = false;
    // The default button keeps its hot look while another control has the focus.
    FHot = ShowsDefaultLook();
    RepaintOrMorph();
    if (FDown && FRepeatMode && !Grouped())
        FRepeatTimer.stop();
}

void TbsSkinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        TbsSkinCustomControl::mousePressEvent(event);
        return;
    }
    if (FCanFocused && !hasFocus()) {
        setFocus(Qt::MouseFocusReason);
        // Another control refused to give the focus up: the press is dropped.
        if (window()->focusWidget() != this)
            return;
    }
    FMousePressed = true;
    if (!FDown) {
        FHot = true;
        SetDown(true);
        if (FRepeatMode && !Grouped())
            FRepeatTimer.start();
        else if (Grouped())
            ButtonClick();
    } else if (Grouped()) {
        FReleaseMarked = true;
    }
}

void TbsSkinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        TbsSkinCustomControl::mouseReleaseEvent(event);
        return;
    }
    if (!FMousePressed)
        return;
    FMousePressed = false;
    const bool over = rect().contains(event->position().toPoint());
    if (!Grouped()) {
        FRepeatTimer.stop();
        if (over) {
            SetDown(false);
            ButtonClick();
        } else {
            // Released elsewhere: up again, no click; the look is already the normal one.
            FDown = false;
            FHot = false;
            update();
        }
    } else {
        if (FDown && FAllowAllUp && FReleaseMarked && over) {
            SetDown(false);
            ButtonClick();
        }
        FReleaseMarked = false;
    }
}

void TbsSkinButton::keyPressEvent(QKeyEvent* event)
{
    if (!FCanFocused) {
        TbsSkinCustomControl::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            SetDown(true);
        else if (FRepeatMode)
            ButtonClick();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ButtonClick();
        return;
    default: TbsSkinCustomControl::keyPressEvent(event);
    }
}

void TbsSkinButton::keyReleaseEvent(QKeyEvent* event)
{
    if (FCanFocused && event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        if (FDown) {
            SetDown(false);
            ButtonClick();
        }
        return;
    }
    TbsSkinCustomControl::keyReleaseEvent(event);
}

void TbsSkinButton::focusInEvent(QFocusEvent* event)
{
    TbsSkinCustomControl::focusInEvent(event);
    RepaintOrMorph();
    update();
}

void TbsSkinButton::focusOutEvent(QFocusEvent* event)
{
    TbsSkinCustomControl::focusOutEvent(event);
    FRepeatTimer.stop();
    if (!Grouped() && FDown) {
        FDown = false;
        FMousePressed = false;
    }
    StartMorph();
    update();
}

void TbsSkinButton::changeEvent(QEvent* event)
{
    TbsSkinCustomControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        StopMorph();
        FMorphFactor = 0;
        if (!isEnabled()) {
            FRepeatTimer.stop();
            FHot = false;
        } else {
            FHot = FMouseIn || ShowsDefaultLook();
        }
        update();
    }
}

void TbsSkinButton::showEvent(QShowEvent* event)
{
    TbsSkinCustomControl::showEvent(event);
    // A button on a form makes sure the form hears its keys and its focus.
    if (parentWidget())
        TbsDialogKeys::Of(window());
    FormFocusChanged(window()->focusWidget());
}

void TbsSkinButton::resizeEvent(QResizeEvent* event)
{
    TbsSkinCustomControl::resizeEvent(event);
    updateGeometry();
}

TbsSkinButton::TLook TbsSkinButton::CurrentLook() const
{
    const TbsDataSkinButtonControl* e = Entry();
    if (!isEnabled() && (!e || !e->disabledskinrect.IsEmpty()))
        return lkDisabled;
    if (FDown && (Grouped() || FHot || (Focused() && !FMousePressed)))
        return lkDown;
    if (Focused() || FHot)
        return lkActive;
    return lkNormal;
}

int TbsSkinButton::GlyphCell(bool downLook, bool activeLook) const
{
    if (downLook && FNumGlyphs >= 3)
        return 3;
    if (activeLook && FNumGlyphs >= 4)
        return 4;
    if (isEnabled() || FNumGlyphs < 2)
        return 1;
    return 2;
}

void TbsSkinButton::LayoutGlyphAndCaption(const QRect& r, QSize glyph, QSize caption, int spacing,
                                          int margin, TbsButtonLayout layout, bool pressed,
                                          QPoint& glyphPos, QPoint& captionPos)
{
    const int gw = glyph.width(), gh = glyph.height(), tw = caption.width(), th = caption.height();
    const int s = spacing, m = margin;
    const int cx = r.left() + r.width() / 2, cy = r.top() + r.height() / 2;
    int gx = 0, gy = 0, tx = 0, ty = 0;
    switch (layout) {
    case blGlyphLeft:
    case blGlyphRight:
        gy = cy - gh / 2;
        ty = cy - th / 2;
        if (layout == blGlyphLeft) {
            if (m == -1) {
                gx = cx - (gw + tw + s) / 2;
                tx = cx + (gw + tw + s) / 2 - tw;
            } else {
                gx = r.left() + m;
                tx = gx + gw + s;
            }
        } else if (m == -1) {
            tx = cx - (gw + tw + s) / 2;
            gx = cx + (gw + tw + s) / 2 - gw;
        } else {
            gx = r.left() + r.width() - gw - m;
            tx = gx - s - tw;
        }
        break;
    case blGlyphTop:
    case blGlyphBottom:
        gx = cx - gw / 2;
        tx = cx - tw / 2;
        if (layout == blGlyphTop) {
            if (m == -1) {
                gy = cy - (th + gh + s) / 2;
                ty = cy + (th + gh + s) / 2 - th;
            } else {
                gy = r.top() + m;
                ty = gy + gh + s;
            }
        } else if (m == -1) {
            ty = cy - (th + gh + s) / 2;
            gy = cy + (th + gh + s) / 2 - gh;
        } else {
            gy = r.top() + r.height() - gh - m;
            ty = gy - s - th;
        }
        break;
    }
    const int shift = pressed ? 1 : 0;
    glyphPos = QPoint(gx + shift, gy + shift);
    captionPos = QPoint(tx + shift, ty + shift);
}

void TbsSkinButton::DrawContent(QImage& image, const QRect& area, const QFont& font,
                                const QColor& color, bool pressed, int cell) const
{
    QPainter p(&image);
    p.setFont(font);
    const QFontMetrics fm(font);
    const int flags = Qt::TextShowMnemonic;
    const QSize textSize = FCaption.isEmpty() ? QSize(0, 0) : fm.size(flags, FCaption);
    QSize glyphSize(0, 0);
    QImage cellImage;
    if (!FGlyph.isNull() && FNumGlyphs > 0) {
        const int cw = FGlyph.width() / FNumGlyphs;
        if (cw > 0) {
            cellImage = FGlyph.copy((std::min(cell, FNumGlyphs) - 1) * cw, 0, cw, FGlyph.height())
                            .convertToFormat(QImage::Format_ARGB32);
            // The colour of the bottom-left pixel is transparent.
            const QRgb key = cellImage.pixel(0, cellImage.height() - 1);
            for (int y = 0; y < cellImage.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(cellImage.scanLine(y));
                for (int x = 0; x < cellImage.width(); ++x)
                    if (line[x] == key)
                        line[x] = 0;
            }
            glyphSize = cellImage.size();
        }
    }
    const int spacing = (glyphSize.isEmpty() || textSize.isEmpty()) ? 0 : FSpacing;
    QPoint gp, tp;
    LayoutGlyphAndCaption(area, glyphSize, textSize, spacing, FMargin, FLayout, pressed, gp, tp);
    if (!cellImage.isNull())
        p.drawImage(gp, cellImage);
    if (!FCaption.isEmpty()) {
        p.setPen(color);
        const QRect box(tp.x() - 1, tp.y(), textSize.width() + 2, textSize.height());
        p.drawText(box, Qt::AlignCenter | flags, FCaption);
    }
}

void TbsSkinButton::DrawDefaultImage(QImage& image)
{
    const bool pressed = FDown && (Grouped() || FHot || (Focused() && !FMousePressed));
    const bool hot = FHot || Focused();
    QPainter p(&image);
    const QRect frame = QRect(QPoint(0, 0), image.size()).adjusted(0, 0, -1, -1);
    if (pressed) {
        p.setPen(QColor(0, 0, 0x80));
        p.setBrush(QColor(133, 147, 181));
    } else if (hot && isEnabled()) {
        p.setPen(QColor(0, 0, 0x80));
        p.setBrush(QColor(182, 189, 210));
    } else {
        p.setPen(clBtnShadow());
        p.setBrush(clBtnFace());
    }
    p.drawRect(frame);
    p.end();
    const QColor color = isEnabled() ? DefaultFontColor() : clBtnShadow();
    DrawContent(image, rect(), DefaultFont(), color, pressed,
                GlyphCell(FDown && FHot, FHot));
}

QImage TbsSkinButton::SkinLook(TLook look) const
{
    const TbsDataSkinButtonControl* e = Entry();
    QImage image(size(), QImage::Format_RGB32);
    image.fill(clBtnFace());
    if (!e)
        return image;
    TbsRect source = Geometry().SkinRect;
    QColor color = bsColor(isEnabled() ? e->fontcolor : e->disabledfontcolor);
    const TbsRect active = StateRect(e->activeskinrect);
    switch (look) {
    case lkDisabled:
        source = StateRect(e->disabledskinrect);
        color = bsColor(e->disabledfontcolor);
        break;
    case lkDown:
        source = e->downskinrect.IsEmpty() ? active : StateRect(e->downskinrect);
        color = bsColor(e->downfontcolor);
        break;
    case lkActive:
        source = active;
        color = bsColor(e->activefontcolor);
        break;
    case lkNormal: break;
    }
    BuildPieceImage(image, Picture(), source);
    DrawContent(image, ClientArea(), ControlFont(e), color, look == lkDown,
                GlyphCell(look == lkDown, look == lkActive));
    return image;
}

void TbsSkinButton::DrawSkinImage(QImage& image)
{
    const TbsDataSkinButtonControl* e = Entry();
    if (!e) {
        // An entry of another kind: the plain piece image of the base.
        TbsSkinCustomControl::DrawSkinImage(image);
        return;
    }
    TLook look = CurrentLook();
    if (e->morphing && isEnabled() && (look == lkNormal || look == lkActive)) {
        if (FMorphFactor >= 1) {
            look = lkActive;
        } else if (FMorphFactor > 0) {
            image = bsMorphImage(SkinLook(lkNormal), SkinLook(lkActive), e->morphkind, FMorphFactor);
            return;
        } else if (FMorphTimer.isActive()) {
            look = lkNormal;
        }
    }
    image = SkinLook(look);
}

}  // namespace rasp
