#pragma once
// The inner editor of the spin edit (TbsSkinSpinEdit), not a control of its
// own (the stand-alone number field is TbsSkinNumericEdit): filters typed
// characters and hands the arrow keys and the wheel to its owner instead of
// acting on them.

#include "skinctrls/NumericText.h"

#include <QLineEdit>
#include <functional>

namespace rasp {

class TbsSkinNumEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TbsSkinNumEdit(QWidget* parent = nullptr);

    bool EditorEnabled = true;
    TValueType ValueType = vtInteger;
    // +1 for a step up, -1 for a step down.
    std::function<void(int direction)> OnStep;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace rasp
