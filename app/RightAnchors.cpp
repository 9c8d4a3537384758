#include "app/RightAnchors.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace rasp {

TRightAnchors::TRightAnchors(QWidget* container, int designWidth)
    : QObject(container), FContainer(container), FDesignWidth(designWidth)
{
    container->installEventFilter(this);
}

void TRightAnchors::Anchor(QWidget* child)
{
    FAnchors.push_back({child, FDesignWidth - (child->x() + child->width())});
    Place();
}

void TRightAnchors::Place()
{
    for (const TAnchor& a : FAnchors)
        a.Child->move(FContainer->width() - a.RightDistance - a.Child->width(), a.Child->y());
}

bool TRightAnchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FContainer && event->type() == QEvent::Resize)
        Place();
    return false;
}

}  // namespace rasp
