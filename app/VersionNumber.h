#pragma once
// Version numbers as the update check compares and reports them: 32-bit
// floats written with a '.' decimal separator whatever the user's locale.

#include <optional>
#include <string>
#include <string_view>

namespace rasp {

// The number in text (blanks around it allowed, optional sign and exponent),
// rounded to a 32-bit float; 0 when text is not a finite number a float can
// hold.
float VersionFromText(std::string_view text);
// The same, or nothing when text is not such a number.
std::optional<float> ParseVersion(std::string_view text);

// value in 15 significant digits without trailing zeros: 1.01f gives
// "1.00999999046326".
std::string VersionText(float value);

} // namespace rasp
