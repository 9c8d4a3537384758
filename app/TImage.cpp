#include "app/TImage.h"

#include <QMouseEvent>
#include <QPixmap>

namespace rasp {

TImage::TImage(QWidget* parent) : QLabel(parent)
{
    setScaledContents(false);
}

bool TImage::LoadFromFile(const QString& path)
{
    QPixmap picture;
    if (!picture.load(path))
        return false;
    SetPicture(picture);
    return true;
}

void TImage::SetPicture(const QPixmap& picture)
{
    setPixmap(picture);
    resize(picture.size());
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

}  // namespace rasp
