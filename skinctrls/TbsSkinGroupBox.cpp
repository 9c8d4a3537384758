#include "skinctrls/TbsSkinGroupBox.h"

namespace rasp {

TbsSkinGroupBox::TbsSkinGroupBox(QWidget* parent, const QString& caption) : TbsSkinPanel(parent)
{
    SetSkinDataName(QStringLiteral("groupbox"));
    SetCaptionMode(true);
    SetCaption(caption);
}

}  // namespace rasp
