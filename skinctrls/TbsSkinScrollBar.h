#pragma once
// Scroll bar that shows and drives a pane's scrolling from outside the pane.

#include "skinctrls/TbsSkinBinding.h"

#include <QScrollBar>

namespace rasp {

class TbsSkinScrollBar : public QScrollBar, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinScrollBar(Qt::Orientation kind = Qt::Horizontal, QWidget* parent = nullptr);

    // A pane sizes the room for its scroll bar by the hint: it must be the
    // bar's own thickness, or the bar is cut off.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

}  // namespace rasp
