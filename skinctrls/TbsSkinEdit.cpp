#include "skinctrls/TbsSkinEdit.h"

#include <QApplication>
#include <QKeyEvent>

namespace rasp {

TbsSkinEdit::TbsSkinEdit(QWidget* parent)
    : QLineEdit(parent), TbsSkinBinding(QStringLiteral("edit"))
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    setFont(f);
    setTextMargins(0, 0, 0, 0);
    resize(120, 20);
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
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
