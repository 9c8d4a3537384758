#pragma once
// The six-colour cycle of matched runs; any other index is white (plain).

#include "platform/pane/RichTextPane.h"

namespace rasp {

constexpr TColor HighlightColor(int index) noexcept {
    switch (index) {
        case 1: return 0xFFFF00;  // cyan
        case 2: return 0xC0DCC0;  // light green
        case 3: return 0x00FFFF;  // yellow
        case 4: return 0x0000FF;  // red
        case 5: return 0x008080;  // olive
        case 6: return 0xC0C0C0;  // silver
        default: return clWhite;
    }
}

}  // namespace rasp
