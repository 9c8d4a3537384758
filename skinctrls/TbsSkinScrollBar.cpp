#include "skinctrls/TbsSkinScrollBar.h"

namespace rasp {

namespace {

constexpr int kThickness = 19;

QSize WithThickness(QSize size, Qt::Orientation kind)
{
    if (kind == Qt::Vertical)
        size.setWidth(kThickness);
    else
        size.setHeight(kThickness);
    return size;
}

}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(Qt::Orientation kind, QWidget* parent)
    : QScrollBar(kind, parent),
      TbsSkinBinding(kind == Qt::Vertical ? QStringLiteral("vscrollbar") : QStringLiteral("hscrollbar"))
{
    if (kind == Qt::Vertical)
        setFixedWidth(kThickness);
    else
        setFixedHeight(kThickness);
}

QSize TbsSkinScrollBar::sizeHint() const { return WithThickness(QScrollBar::sizeHint(), orientation()); }

QSize TbsSkinScrollBar::minimumSizeHint() const
{
    return WithThickness(QScrollBar::minimumSizeHint(), orientation());
}

}  // namespace rasp
