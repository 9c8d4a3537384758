#include "skinctrls/TbsSkinBevel.h"

namespace rasp {

TbsSkinBevel::TbsSkinBevel(QWidget* parent)
    : QFrame(parent), TbsSkinBinding(QStringLiteral("bevel"))
{
    setFrameStyle(QFrame::HLine | QFrame::Sunken);
}

}  // namespace rasp
