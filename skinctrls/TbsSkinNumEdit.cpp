#include "skinctrls/TbsSkinNumEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

namespace rasp {

TbsSkinNumEdit::TbsSkinNumEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(0, 0, 0, 0);
}

void TbsSkinNumEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        if (OnStep)
            OnStep(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!typed.isEmpty() && !command) {
        const QChar ch = event->key() == Qt::Key_Backspace ? QChar(u'\b') : typed.at(0);
        if ((ch.unicode() >= 32 || ch == u'\b') &&
            !AcceptsTypedChar(ch, text(), ValueType, DecimalSeparator(), !EditorEnabled)) {
            QApplication::beep();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TbsSkinNumEdit::wheelEvent(QWheelEvent* event)
{
    // Turning the wheel away from the user steps down: the reverse of the keys.
    const int delta = event->angleDelta().y();
    if (delta != 0 && OnStep)
        OnStep(delta > 0 ? -1 : 1);
    event->accept();
}

}  // namespace rasp
