#include "skinctrls/TbsSkinStdLabel.h"

namespace rasp {

TbsSkinStdLabel::TbsSkinStdLabel(QWidget* parent, const QString& caption)
    : QLabel(parent), TbsSkinBinding(QStringLiteral("stdlabel"))
{
    setTextFormat(Qt::PlainText);
    SetCaption(caption);
}

void TbsSkinStdLabel::SetCaption(const QString& caption)
{
    setText(caption);
    adjustSize();
}

}  // namespace rasp
