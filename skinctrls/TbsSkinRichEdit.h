#pragma once
// An article pane: the rich text pane whose vertical scrolling is shown and
// driven by a separate skinned scroll bar placed beside it. The pane's own
// scroll bars are never visible.

#include "platform/qtpane/QtRichTextPane.h"
#include "skinctrls/TbsSkinBinding.h"

#include <QPointer>

namespace rasp {

class TbsSkinScrollBar;

class TbsSkinRichEdit : public QtRichTextPane, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinRichEdit(QWidget* parent = nullptr);

    // The bar mirrors the pane's range and position from now on, and moving
    // it scrolls the pane. Not owned; a destroyed bar is forgotten.
    void SetVScrollBar(TbsSkinScrollBar* bar);
    TbsSkinScrollBar* VScrollBar() const;

    // Copies the pane's scroll state to the bar, without the bar's Change.
    void SyncScrollBars();

private:
    void BarChanged();
    void LineDown();
    void LineUp();
    // One line is the height of a line of the pane's font.
    void ScrollLines(int lines);

    QPointer<TbsSkinScrollBar> FVScrollBar;
    bool FSyncing = false;
};

}  // namespace rasp
