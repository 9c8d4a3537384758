#pragma once
// Rebuilding a pane run by run with the word colours as background (and bold),
// and the two formatting primitives the other commands share.

#include <string>
#include <string_view>

#include "platform/pane/RichTextPane.h"
#include "text/SpanLists.h"

namespace rasp {

// Background colour of the selection, or of the insertion point.
void SetSelBackColor(IRichTextPane& pane, TColor color);

// The whole pane black, not bold, on white; selection collapsed at 0.
void ClearFormatting(IRichTextPane& pane);

// Appends one run at the insertion point: black text, bold when highlighted,
// the colour as background.
void AppendRun(IRichTextPane& pane, std::u16string_view text, TColor color);

// Replaces the pane's content by `text` with every word of `words` in its
// colour; separators inside a stretch of one colour take that colour too, and
// text after a highlighted last word takes the last word's colour. Adjacent
// runs of one colour are appended as one.
void RenderHighlights(IRichTextPane& pane, const TListWords& words, const std::u16string& text);

}  // namespace rasp
