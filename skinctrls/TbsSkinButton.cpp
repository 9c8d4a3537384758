#include "skinctrls/TbsSkinButton.h"

namespace rasp {

TbsSkinButton::TbsSkinButton(QWidget* parent, const QString& caption)
    : QPushButton(caption, parent), TbsSkinBinding(QStringLiteral("button"))
{
    resize(75, 25);
    setAutoDefault(false);
}

}  // namespace rasp
