#pragma once
// Drawing helpers the skinned menus and caption objects share: rectangle and
// colour conversion, skin fonts, text shortened with "...", pictures made to
// a new size from their end pieces, and window shapes from mask pictures.

#include "skin/bsSkinTypes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

#include <string>

class QFontMetrics;

QRect bsToQRect(const TbsRect& r);
TbsRect bsFromQRect(const QRect& r);
QColor bsQColor(TbsColor c);

// The skin's font description as a QFont (heights are pixel heights).
QFont bsSkinFont(const std::string& name, int height, TbsFontStyles style);
// Drops characters from the end until the rest followed by "..." fits.
QString bsEllipsisText(const QString& text, const QFontMetrics& metrics, int width);

// A picture part made to a new width by keeping `left` pixels on the left and
// `right` on the right and repeating the middle between them.
QImage bsThreePiece(const QImage& picture, const QRect& source, int left, int right, int width);

// A whole picture made to a new size: cut at its corner points into four
// corners, four edges and a middle; edges are stretched where the flag says
// so, else repeated; the middle is repeated. Pieces of no size are skipped.
struct TbsNinePiece {
  TbsPoint LeftTop, RightTop, LeftBottom, RightBottom;
  bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
};
QImage bsNinePiece(const QImage& picture, const TbsNinePiece& cut, QSize size);

// The region of the black pixels (red, green and blue 0) of a mask image.
QRegion bsRegionFromMask(const QImage& mask);
