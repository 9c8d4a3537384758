#pragma once
// An article pane: the rich text pane with its vertical scrolling shown by a
// separate scroll bar at its right edge.

#include "platform/qtpane/QtRichTextPane.h"
#include "skinctrls/TbsSkinBinding.h"

namespace rasp {

class TbsSkinScrollBar;

class TbsSkinRichEdit : public QtRichTextPane, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinRichEdit(QWidget* parent = nullptr);

    // The pane scrolls through this bar from now on and keeps it at its
    // right edge; the pane's own bar is no longer used.
    void SetVScrollBar(TbsSkinScrollBar* bar);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }

private:
    TbsSkinScrollBar* FVScrollBar = nullptr;
};

}  // namespace rasp
