#pragma once
// One-line text field drawn from the "edit" entry: the skin's frame and
// background, the line edit itself (frameless, transparent) doing the typing,
// caret and selection inside the skin's client rectangle. Enter and Escape
// never reach the text: they only raise KeyPress (and travel on to the
// dialog, which may close on them).

#include "skinctrls/TbsSkinBinding.h"
#include "skinctrls/TbsSkinClient.h"
#include "skinctrls/TbsSkinLook.h"

#include "skin/bsSkinTypes.h"

#include <QLineEdit>

namespace rasp {

class TbsSkinEdit : public QLineEdit, public TbsSkinBinding, public TbsSkinClient {
    Q_OBJECT
public:
    explicit TbsSkinEdit(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& t) { setText(t); }

    TbsSkinData* SkinData() const override { return FLook.Data(); }
    void SetSkinData(TbsSkinData* skinData) override;
    void ForgetSkinEntry() override { FLook.Forget(); }
    void ApplySkin() override;
    bool IsSkinned() const { return FLook.Skinned(); }
    // The height of the entry's picture (0 unskinned).
    int SkinHeight() const { return FLook.Skinned() ? FLook.SkinHeight() : 0; }

    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool on);
    // The font and its colour while unskinned.
    void SetDefaultFont(const QFont& font);

    // True while the pointer is over the field or it has the focus.
    bool Hot() const { return FMouseIn || hasFocus(); }

    // A button at the right end of the field; a click on it raises
    // ButtonClick. Switching it also switches the entry between "edit" and
    // "buttonedit" while the field uses one of those two.
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool on);
    // Where the button lies (empty without ButtonMode).
    QRect ButtonRect() const;
    bool ButtonHot() const { return FButtonHot; }
    bool ButtonDown() const { return FButtonDown; }

    TbsAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TbsAlignment alignment);

    // What a point of the field is: the button, the frame around the text
    // area, or the text area itself.
    enum THitTest { htText = 1, htButton = 6, htFrame = 7 };
    THitTest HitTest(const QPoint& p) const;

signals:
    // The text changed (by the user or the program).
    void Change();
    // A character was typed, Enter ('\r') and Escape ('\x1b') included.
    void KeyPress(QChar key);
    // Press and release over the button of ButtonMode.
    void ButtonClick();
    void MouseEnter();
    void MouseLeave();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Called for every change of the text; the default raises Change.
    virtual void TextChanged();
    // Whether a typed character goes into the text; refused ones beep.
    virtual bool AcceptChar(QChar) { return true; }

private:
    // Looks the entry up and sets the font, colour, height and text margins.
    void Restyle();
    void UpdateColor();
    void PaintButton(class QPainter& p) const;
    void SetButtonHot(bool hot);
    // The text area in widget coordinates.
    QRect TextArea() const;

    TbsSkinLook FLook;
    QFont FDefaultFont;
    bool FUseSkinFont = true;
    bool FMouseIn = false;
    bool FRestyling = false;
    bool FButtonMode = false;
    bool FButtonHot = false;
    bool FButtonDown = false;
    TbsAlignment FAlignment = TbsAlignment::taLeftJustify;
};

}  // namespace rasp
