#include "skinctrls/TbsSkinStdLabel.h"

namespace rasp {

TbsSkinStdLabel::TbsSkinStdLabel(QWidget* parent, const QString& caption)
    : QLabel(parent), TbsSkinBinding(QStringLiteral("stdlabel"))
{
    setTextFormat(Qt::PlainText);
    // The unskinned label uses the small dialog font of the desktop.
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    setFont(f);
    SetCaption(caption);
}

void TbsSkinStdLabel::SetCaption(const QString& caption)
{
    setText(caption);
    adjustSize();
}

}  // namespace rasp
