#include "skinctrls/TbsSkinComboBox.h"

namespace rasp {

TbsSkinComboBox::TbsSkinComboBox(QWidget* parent)
    : QComboBox(parent), TbsSkinBinding(QStringLiteral("combobox"))
{
    setEditable(false);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    setFont(f);
}

}  // namespace rasp
