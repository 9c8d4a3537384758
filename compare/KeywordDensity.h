#pragma once
// Occurrences and density of a keyword phrase in one article pane: every
// occurrence (letter case ignored, inside words and overlapping too) is
// highlighted in yellow.

#include <functional>
#include <string>

#include "platform/pane/RichTextPane.h"

namespace rasp {

struct TDensityResult {
    int Count = 0;
    double Percentage = 0.0;  // shown with 2 decimals
};

// wordCounter is the value of the article's own word counter. An empty
// (or blank) phrase counts 0; a counter of 0 or less gives 0 %.
// processMessages runs after each occurrence so the window can repaint.
TDensityResult CalculateKwDensity(IRichTextPane& pane, const std::u16string& phrase,
                                  double wordCounter,
                                  const std::function<void()>& processMessages);

}  // namespace rasp
