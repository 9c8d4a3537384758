#pragma once
// Push button of the window's tool strips and dialogs.

#include "skinctrls/TbsSkinBinding.h"

#include <QPushButton>

namespace rasp {

class TbsSkinButton : public QPushButton, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinButton(QWidget* parent = nullptr, const QString& caption = {});

    // Modal result the button gives to its dialog when clicked (0: none).
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int result) { FModalResult = result; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int FModalResult = 0;
};

}  // namespace rasp
