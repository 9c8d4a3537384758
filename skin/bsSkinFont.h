#pragma once
// Fonts of everything drawn from a skin: controls, menus and caption
// objects. A skin gives Windows font heights: a negative height is the
// character height, a positive one the cell height (ascent plus descent).
// They turn into pixel sizes here only, so that every part agrees.

#include "skin/bsSkinTypes.h"

#include <QFont>
#include <QString>

#include <string>

// The face that stands in for a Windows face on this system ("Arial" is
// drawn with the metrically equal Liberation Sans).
QString bsFontFamily(const QString& face);

// The pixel size of a face at a Windows font height; 0 gives the usual 14.
int bsFontPixelSize(const QString& family, int windowsHeight);

// A font from a skin entry's name, height and style.
QFont bsSkinFont(const std::string& name, int height, TbsFontStyles style);
