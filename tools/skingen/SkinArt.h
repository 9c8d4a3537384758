#pragma once
// Drawing primitives of our skins: soft vertical gradients, rounded boxes with
// crisp one-pixel borders, and the caption and arrow glyphs.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

QColor Mix(const QColor& a, const QColor& b, qreal t);

// An image of the size, filled with one colour.
QImage Canvas(int width, int height, const QColor& fill);

void FillGradient(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom);
// A rounded box: gradient inside, one crisp pixel of border on its edge.
void RoundedBox(QPainter& p, const QRect& r, qreal radius, const QColor& top,
                const QColor& bottom, const QColor& border);

enum class TGlyph { Close, Maximize, Restore, Minimize, RollUp, RollDown, Tray, App };
// A caption glyph centred in the box.
void DrawGlyph(QPainter& p, const QRect& box, TGlyph glyph, const QColor& color,
               const QColor& accent);

enum class TArrow { Up, Down, Left, Right };
// A small filled chevron centred in the box.
void DrawArrow(QPainter& p, const QRect& box, TArrow direction, const QColor& color);
