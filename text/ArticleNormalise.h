#pragma once
// The three typographic characters that a pane's change handling replaces
// before the text is stored and segmented: no-break space, right single
// quotation mark and en dash.

#include <string>

namespace rasp {

// Replaces U+00A0 by ' ', U+2019 by '\'' and U+2013 by '-'. Returns true when
// anything was replaced.
bool NormaliseArticleText(std::u16string& text);

}  // namespace rasp
