#include "skinctrls/TbsSkinScrollBar.h"

namespace rasp {

TbsSkinScrollBar::TbsSkinScrollBar(Qt::Orientation kind, QWidget* parent)
    : QScrollBar(kind, parent),
      TbsSkinBinding(kind == Qt::Vertical ? QStringLiteral("vscrollbar") : QStringLiteral("hscrollbar"))
{
    if (kind == Qt::Vertical)
        setFixedWidth(19);
    else
        setFixedHeight(19);
}

}  // namespace rasp
