#include "skinctrls/TbsSkinEdit.h"

#include "skinctrls/bsEditMenu.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>

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
        setTextMargins(2, 2, 2, 2);
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
    }
    QLineEdit::paintEvent(event);
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
}

void TbsSkinEdit::leaveEvent(QEvent* event)
{
    QLineEdit::leaveEvent(event);
    FMouseIn = false;
    UpdateColor();
    update();
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
