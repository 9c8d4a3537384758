#include "skinctrls/TbsSkinGroupBox.h"

namespace rasp {

TbsSkinGroupBox::TbsSkinGroupBox(QWidget* parent, const QString& caption)
    : QGroupBox(caption, parent), TbsSkinBinding(QStringLiteral("groupbox"))
{
    resize(150, 150);
}

}  // namespace rasp
