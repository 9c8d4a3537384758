#pragma once
// Etched horizontal separator line.

#include "skinctrls/TbsSkinBinding.h"

#include <QFrame>

namespace rasp {

class TbsSkinBevel : public QFrame, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinBevel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace rasp
