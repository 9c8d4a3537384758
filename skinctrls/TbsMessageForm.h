#pragma once
// The window of one message box: a modal dialog whose whole content lives in
// one client widget of a fixed size, inside the borders of its frame.
// Enter and Escape press its Default and Cancel buttons as on any form with
// skinned buttons; the frame's close command answers as Escape does, and
// closing the window by other means answers "cancel".

#include "skinctrls/TbsSkinMessage.h"

#include <QDialog>
#include <QImage>
#include <QPointer>

namespace rasp {

class TbsSkinButton;
class TbsSkinPanel;

class TbsMessageForm : public QDialog {
    Q_OBJECT
public:
    explicit TbsMessageForm(QWidget* parent = nullptr);

    // Holds the icon, the text and the buttons on the skin's panel; its size
    // is the client size.
    TbsSkinPanel* Client() const { return FClient; }
    void SetClientSize(QSize size);
    QSize ClientSize() const { return FClientSize; }

    // The button Escape presses (none: Escape does nothing).
    void SetEscapeButton(TbsSkinButton* button) { FEscapeButton = button; }
    // The close caption button: the escape button's answer, or "cancel"
    // when the box has none.
    void CloseCommand();

    // True once the window was closed other than by a button.
    bool Closed() const { return FClosed; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Puts the client inside the frame's borders and fits the window to both.
    void PlaceClient();

    TbsSkinPanel* FClient;
    QSize FClientSize;
    QPointer<TbsSkinButton> FEscapeButton;
    bool FClosed = false;
};

// The 32 by 32 picture of a box type; a null image for the custom type.
QImage bsMessageIcon(TMsgDlgType type);

}  // namespace rasp
