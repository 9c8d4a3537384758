#pragma once
// Fonts of the skinned controls. A skin gives Windows font heights: a
// negative height is the character height, a positive one the cell height
// (ascent plus descent). Every control turns them into pixel sizes here, so
// that all of them agree.

#include "skin/bsSkinTypes.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

class TbsSkinData;

// The face that stands in for a Windows face on this system ("Arial" is
// drawn with the metrically equal Liberation Sans).
QString bsFontFamily(const QString& face);

// The pixel size of a face at a Windows font height; 0 gives the usual 14.
int bsFontPixelSize(const QString& family, int windowsHeight);

// A font from a skin entry's name, height and style.
QFont bsSkinFont(const std::string& name, int height, TbsFontStyles style);

// The font every skinned control starts with: "Arial", height 14, no style.
QFont bsDefaultSkinFont();

QColor bsColor(TbsColor c);

// The character set of a control's text: the skin data's replacement texts
// decide when there are any, else the control's default font does.
constexpr int DEFAULT_CHARSET = 1;
int bsSkinCharSet(const TbsSkinData* skinData, int defaultFontCharSet);
