#include "skinctrls/TbsSkinEdit.h"

#include "skinctrls/TbsSkinCustomControl.h"
#include "skinctrls/bsEditMenu.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>

namespace rasp {

TbsSkinEdit::TbsSkinEdit(QWidget* parent)
    : QLineEdit(parent), TbsSkinBinding(QStringLiteral("edit"))
{
    FDefaultFont = QFont(QStringLiteral("Arial"));
    FDefaultFont.setPixelSize(14);
    setFont(FDefaultFont);
    setFrame(false);
    setAttribute(Qt::WA_Hover);
    resize(120, 20);
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
    Restyle();
}

void TbsSkinEdit::SetSkinData(TbsSkinData* skinData)
{
    FLook.SetData(skinData);
    if (skinData && !skinData->SkinEmpty)
        ApplySkin();
}

void TbsSkinEdit::ApplySkin()
{
    Restyle();
    update();
}

void TbsSkinEdit::SetUseSkinFont(bool on)
{
    FUseSkinFont = on;
    Restyle();
}

void TbsSkinEdit::SetDefaultFont(const QFont& font)
{
    FDefaultFont = font;
    Restyle();
}

void TbsSkinEdit::Restyle()
{
    if (FRestyling)
        return;
    QScopedValueRollback guard(FRestyling, true);
    FLook.LookUp(SkinDataName());
    const auto* entry = FLook.EntryAs<TbsDataSkinEditControl>();
    if (entry && FUseSkinFont) {
        setFont(bsSkinFont(entry->fontname, entry->fontheight, entry->fontstyle));
        if (height() != FLook.SkinHeight())
            resize(width(), FLook.SkinHeight());
    } else {
        setFont(FDefaultFont);
    }
    if (FLook.Skinned()) {
        const QRect client = FLook.ClientRect(width(), FLook.SkinHeight());
        const int bottom = FLook.SkinHeight() - client.bottom() - 1;
        setTextMargins(client.left(), client.top(), width() - client.right() - 1, FUseSkinFont ? bottom : 0);
    } else {
        setTextMargins(2, 2, FButtonMode ? height() + 2 : 2, 2);
    }
    // The field's own panel stays unpainted: the frame is drawn underneath.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    setPalette(pal);
    UpdateColor();
}

void TbsSkinEdit::UpdateColor()
{
    const auto* entry = FLook.EntryAs<TbsDataSkinEditControl>();
    QColor c;
    if (!isEnabled())
        c = entry ? bsColor(entry->disabledfontcolor) : QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
    else if (entry)
        c = bsColor(Hot() ? entry->activefontcolor : entry->fontcolor);
    else
        c = QColor(Qt::black);
    QPalette pal = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Text, c);
    if (pal != palette())
        setPalette(pal);
}

void TbsSkinEdit::paintEvent(QPaintEvent* event)
{
    {
        QPainter p(this);
        const auto* entry = FLook.EntryAs<TbsDataSkinEditControl>();
        if (FLook.Skinned()) {
            const TbsRect state = entry && Hot() ? entry->activeskinrect : FLook.Geometry().SkinRect;
            const QImage frame = FLook.Build(state, width(), FLook.SkinHeight());
            if (FUseSkinFont)
                p.drawImage(0, 0, frame);
            else
                p.drawImage(rect(), frame);
        } else {
            p.fillRect(rect(), QGuiApplication::palette().color(QPalette::Base));
            p.setPen(clBtnShadow());
            p.drawRect(rect().adjusted(0, 0, -1, -1));
            p.setPen(clBtnFace());
            p.drawRect(rect().adjusted(1, 1, -2, -2));
        }
        if (FButtonMode)
            PaintButton(p);
    }
    QLineEdit::paintEvent(event);
}

void TbsSkinEdit::SetButtonMode(bool on)
{
    if (on == FButtonMode)
        return;
    FButtonMode = on;
    // The form builds its fields in code: the entry follows the mode as it
    // would where the field is laid out, unless a name of its own was chosen.
    if (on && SkinDataName() == QLatin1String("edit"))
        SetSkinDataName(QStringLiteral("buttonedit"));
    else if (!on && SkinDataName() == QLatin1String("buttonedit"))
        SetSkinDataName(QStringLiteral("edit"));
    FButtonHot = FButtonDown = false;
    if (on)
        setMouseTracking(true);
    Restyle();
    update();
}

void TbsSkinEdit::SetAlignment(TbsAlignment alignment)
{
    FAlignment = alignment;
    Qt::Alignment h = Qt::AlignLeft;
    if (alignment == TbsAlignment::taRightJustify)
        h = Qt::AlignRight;
    else if (alignment == TbsAlignment::taCenter)
        h = Qt::AlignHCenter;
    setAlignment(h | Qt::AlignVCenter);
    update();
}

QRect TbsSkinEdit::ButtonRect() const
{
    if (!FButtonMode)
        return {};
    if (!FLook.Skinned())
        return QRect(width() - height(), 0, height(), height());
    const auto* entry = FLook.EntryAs<TbsDataSkinEditControl>();
    if (!entry || entry->buttonrect.IsEmpty())
        return {};
    // Only what lies inside the skin's rectangle can be a button.
    QRect r = bsQRect(entry->buttonrect).intersected(QRect(0, 0, FLook.SkinWidth(), FLook.SkinHeight()));
    if (r.isEmpty())
        return {};
    if (entry->buttonrect.Left >= FLook.Geometry().RightTop.X)
        r.translate(width() - FLook.SkinWidth(), 0);
    if (!FUseSkinFont && FLook.SkinHeight() > 0 && height() != FLook.SkinHeight()) {
        // The frame is stretched to the height: the button goes with it.
        const double k = double(height()) / FLook.SkinHeight();
        r = QRect(r.left(), int(r.top() * k), r.width(), std::max(1, int(r.height() * k)));
    }
    return r.intersected(rect());
}

QRect TbsSkinEdit::TextArea() const
{
    const QMargins m = textMargins();
    return rect().marginsRemoved(m);
}

TbsSkinEdit::THitTest TbsSkinEdit::HitTest(const QPoint& p) const
{
    if (ButtonRect().contains(p))
        return htButton;
    if (TextArea().contains(p))
        return htText;
    return htFrame;
}

void TbsSkinEdit::PaintButton(QPainter& p) const
{
    const QRect r = ButtonRect();
    if (r.isEmpty())
        return;
    const bool pressed = FButtonDown && FButtonHot;
    if (FLook.Skinned()) {
        const auto* e = FLook.EntryAs<TbsDataSkinEditControl>();
        if (!e)
            return;
        TbsRect src;
        if (!isEnabled())
            src = e->unenabledbuttonrect;
        else if (pressed)
            src = FLook.InPicture(e->downbuttonrect) ? e->downbuttonrect : e->activebuttonrect;
        else if (FButtonHot)
            src = e->activebuttonrect;
        // Otherwise the frame's own picture shows the button.
        if (FLook.InPicture(src))
            p.drawImage(r, *FLook.Picture(), bsQRect(src));
        return;
    }
    if (pressed || FButtonHot) {
        p.setPen(QColor(0, 0, 0x80));
        p.setBrush(pressed ? QColor(133, 147, 181) : QColor(182, 189, 210));
    } else {
        p.setPen(clBtnShadow());
        p.setBrush(clBtnFace());
    }
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void TbsSkinEdit::SetButtonHot(bool hot)
{
    if (hot == FButtonHot)
        return;
    FButtonHot = hot;
    update();
}

void TbsSkinEdit::mousePressEvent(QMouseEvent* event)
{
    if (FButtonMode && event->button() == Qt::LeftButton && ButtonRect().contains(event->position().toPoint())) {
        FButtonDown = true;
        FButtonHot = true;
        update();
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TbsSkinEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A quick second click on the button is one more press of it.
    if (FButtonMode && event->button() == Qt::LeftButton && ButtonRect().contains(event->position().toPoint())) {
        mousePressEvent(event);
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

void TbsSkinEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (FButtonMode) {
        const QPoint at = event->position().toPoint();
        SetButtonHot(ButtonRect().contains(at));
        setCursor(HitTest(at) == htText ? Qt::IBeamCursor : Qt::ArrowCursor);
        if (FButtonDown) {
            event->accept();
            return;
        }
    }
    QLineEdit::mouseMoveEvent(event);
}

void TbsSkinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (FButtonDown && event->button() == Qt::LeftButton) {
        FButtonDown = false;
        const bool over = ButtonRect().contains(event->position().toPoint());
        FButtonHot = over;
        update();
        event->accept();
        if (over) {
            setFocus(Qt::MouseFocusReason);
            emit ButtonClick();
        }
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TbsSkinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    Restyle();
}

void TbsSkinEdit::enterEvent(QEnterEvent* event)
{
    QLineEdit::enterEvent(event);
    FMouseIn = true;
    UpdateColor();
    update();
    emit MouseEnter();
}

void TbsSkinEdit::leaveEvent(QEvent* event)
{
    QLineEdit::leaveEvent(event);
    FMouseIn = false;
    if (!FButtonDown)
        FButtonHot = false;
    UpdateColor();
    update();
    emit MouseLeave();
}

void TbsSkinEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    UpdateColor();
    update();
}

void TbsSkinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    UpdateColor();
    update();
}

void TbsSkinEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !FRestyling) {
        UpdateColor();
        update();
    }
}

void TbsSkinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(rect().center())
                                                                     : event->globalPos();
    bsPopupEditMenu(this, at);
    event->accept();
}

void TbsSkinEdit::TextChanged()
{
    emit Change();
}

void TbsSkinEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit KeyPress(QChar(u'\r'));
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        emit KeyPress(QChar(0x1B));
        event->ignore();
        return;
    }
    // Shortcuts (Ctrl+C, Ctrl+V, …) are commands, not typed characters.
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!typed.isEmpty() && !command) {
        const QChar ch = event->key() == Qt::Key_Backspace ? QChar(u'\b') : typed.at(0);
        if (ch.unicode() >= 32 || ch == u'\b') {
            emit KeyPress(ch);
            if (!AcceptChar(ch)) {
                QApplication::beep();
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace rasp
