#pragma once
// The text rules shared by the numeric edit and the spin edit: how a number is
// shown, which texts are numbers, and which typed characters are accepted.

#include <QChar>
#include <QString>

namespace rasp {

enum TValueType { vtInteger, vtFloat };

// vtFloat: fixed notation with `decimals` digits after `separator`;
// vtInteger: the nearest integer, ties to the even neighbour.
QString FormatNumber(double value, TValueType type, int decimals, QChar separator);

// Not empty, not "-" alone, digits and at most one leading "-"; for vtFloat
// also at most one separator, not as the first character.
bool IsValidNumberText(const QString& text, TValueType type, QChar separator);

// Converts a valid text. vtInteger must fit a 32-bit integer; throws
// EConvertError ("'%s' is not a valid integer value" / "... floating point value").
double ParseNumberText(const QString& text, TValueType type, QChar separator);

// Whether a typed character may go into an edit that holds `text`.
bool AcceptsTypedChar(QChar ch, const QString& text, TValueType type, QChar separator,
                      bool readOnly);

// The decimal separator of the user's locale.
QChar DecimalSeparator();

}  // namespace rasp
