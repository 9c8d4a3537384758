#pragma once
// Fonts and colours of the skinned controls; the skin's font rule itself is
// the skin engine's (skin/bsSkinFont.h).

#include "skin/bsSkinFont.h"
#include "skin/bsSkinTypes.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

class TbsSkinData;

// The font every skinned control starts with: "Arial", height 14, no style.
QFont bsDefaultSkinFont();

QColor bsColor(TbsColor c);

// The character set of a control's text: the skin data's replacement texts
// decide when there are any, else the control's default font does.
constexpr int DEFAULT_CHARSET = 1;
int bsSkinCharSet(const TbsSkinData* skinData, int defaultFontCharSet);
