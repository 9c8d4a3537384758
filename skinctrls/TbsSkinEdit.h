#pragma once
// One-line text field. Enter and Escape never reach the text: they only raise
// KeyPress (and travel on to the dialog, which may close on them).

#include "skinctrls/TbsSkinBinding.h"

#include <QLineEdit>

namespace rasp {

class TbsSkinEdit : public QLineEdit, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinEdit(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& t) { setText(t); }

signals:
    // The text changed (by the user or the program).
    void Change();
    // A character was typed, Enter ('\r') and Escape ('\x1b') included.
    void KeyPress(QChar key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Called for every change of the text; the default raises Change.
    virtual void TextChanged();
    // Whether a typed character goes into the text; refused ones beep.
    virtual bool AcceptChar(QChar) { return true; }
};

}  // namespace rasp
