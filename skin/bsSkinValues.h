#pragma once
// Readers and writers of the typed values of a skin description. The readers
// keep the format's quirks on purpose (a sign inside a rectangle is dropped,
// keywords are case-sensitive); stored skins rely on them.

#include "skin/bsSkinIni.h"
#include "skin/bsSkinTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Decimal, or hexadecimal after "$" or "0x"/"0X", with an optional sign; the
// whole text must be the number. Hexadecimal takes 32 bits and wraps.
std::optional<int> bsParseInteger(std::string_view text);

// Conversions of one value text; rectangles and points throw ESkinError when a
// field is missing or has no digit at all.
TbsRect bsStrToRect(std::string_view text);
TbsPoint bsStrToPoint(std::string_view text);
TbsFontStyles bsStrToFontStyles(std::string_view text);
TbsAlignment bsStrToAlignment(std::string_view text);
TbsMorphKind bsStrToMorphKind(std::string_view text);
TbsEffect bsStrToEffect(std::string_view text);
TbsCommand bsStrToCommand(std::string_view text);

std::string bsRectToStr(const TbsRect& r);
std::string bsPointToStr(const TbsPoint& p);
std::string bsFontStylesToStr(TbsFontStyles styles);
std::string bsAlignmentToStr(TbsAlignment a);
std::string bsMorphKindToStr(TbsMorphKind m);
std::string bsEffectToStr(TbsEffect e);
std::string bsCommandToStr(TbsCommand c);

// Readers by section and key; a missing key yields the default of its type.
int ReadInteger(const TbsSkinIni& ini, std::string_view section, std::string_view key, int def);
TbsColor ReadColor(const TbsSkinIni& ini, std::string_view section, std::string_view key,
                   TbsColor def);
bool ReadBoolean(const TbsSkinIni& ini, std::string_view section, std::string_view key);
TbsRect ReadRect(const TbsSkinIni& ini, std::string_view section, std::string_view key);
TbsPoint ReadPoint(const TbsSkinIni& ini, std::string_view section, std::string_view key);
TbsFontStyles ReadFontStyles(const TbsSkinIni& ini, std::string_view section,
                             std::string_view key);
TbsAlignment ReadAlignment(const TbsSkinIni& ini, std::string_view section, std::string_view key);
TbsMorphKind ReadMorphKind(const TbsSkinIni& ini, std::string_view section, std::string_view key);
TbsEffect ReadEffect(const TbsSkinIni& ini, std::string_view section, std::string_view key);
TbsCommand ReadCommand(const TbsSkinIni& ini, std::string_view section, std::string_view key);
// A list: "<name>count" and the keys "0" .. count-1, appended to the list.
// Counts above maxCount are refused so that a hostile count allocates nothing.
void ReadStrings(const TbsSkinIni& ini, std::string_view section, std::string_view name,
                 std::vector<std::string>& list, int maxCount);

void WriteInteger(TbsSkinIni& ini, std::string_view section, std::string_view key, int value);
void WriteColor(TbsSkinIni& ini, std::string_view section, std::string_view key, TbsColor value);
void WriteBoolean(TbsSkinIni& ini, std::string_view section, std::string_view key, bool value);
void WriteStrings(TbsSkinIni& ini, std::string_view section, std::string_view name,
                  const std::vector<std::string>& list);
