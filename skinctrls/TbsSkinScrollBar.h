#pragma once
// Scroll bar that shows and drives a pane's scrolling from outside the pane.

#include "skinctrls/TbsSkinBinding.h"

#include <QScrollBar>

namespace rasp {

class TbsSkinScrollBar : public QScrollBar, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinScrollBar(Qt::Orientation kind = Qt::Horizontal, QWidget* parent = nullptr);
};

}  // namespace rasp
