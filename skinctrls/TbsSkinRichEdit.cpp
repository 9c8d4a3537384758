#include "skinctrls/TbsSkinRichEdit.h"

#include "skinctrls/TbsSkinScrollBar.h"

namespace rasp {

TbsSkinRichEdit::TbsSkinRichEdit(QWidget* parent)
    : QtRichTextPane(parent), TbsSkinBinding(QStringLiteral("richedit"))
{
    setFrameStyle(QFrame::NoFrame);
}

void TbsSkinRichEdit::SetVScrollBar(TbsSkinScrollBar* bar)
{
    FVScrollBar = bar;
    if (!bar)
        return;
    setVerticalScrollBar(bar);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

}  // namespace rasp
