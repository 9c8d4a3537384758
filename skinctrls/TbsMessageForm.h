#pragma once
// The window of one message box: a modal dialog whose whole content lives in
// one client widget of a fixed size, so that a frame can be put around it.
// Enter and Escape press its Default and Cancel buttons as on any form with
// skinned buttons; closing the window by other means answers "cancel".

#include "skinctrls/TbsSkinMessage.h"

#include <QDialog>
#include <QImage>

namespace rasp {

class TbsSkinPanel;

class TbsMessageForm : public QDialog {
    Q_OBJECT
public:
    explicit TbsMessageForm(QWidget* parent = nullptr);

    // Holds the icon, the text and the buttons on the skin's panel; its size
    // is the client size.
    TbsSkinPanel* Client() const { return FClient; }
    void SetClientSize(QSize size);

    // True once the window was closed other than by a button.
    bool Closed() const { return FClosed; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TbsSkinPanel* FClient;
    bool FClosed = false;
};

// The 32 by 32 picture of a box type; a null image for the custom type.
QImage bsMessageIcon(TMsgDlgType type);

}  // namespace rasp
