#include "skin/bsSkinValues.h"

#include "skin/bsSkinError.h"

#include <array>
#include <cstdint>
#include <limits>

std::optional<int> bsParseInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  std::uint64_t value = 0;
  const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
  for (; i < text.size(); ++i) {
    char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + std::uint64_t(digit);
    if (value > limit) return std::nullopt;
  }
  // Hexadecimal is a 32-bit pattern: $FFFFFFFF is -1.
  std::int64_t signedValue =
      hex ? std::int64_t(std::int32_t(std::uint32_t(value))) : std::int64_t(value);
  if (negative) signedValue = -signedValue;
  if (signedValue < std::numeric_limits<int>::min() || signedValue > std::numeric_limits<int>::max())
    return std::nullopt;
  return int(signedValue);
}

namespace {

// Splits at every "," and converts the first n fields, keeping only the
// digits of each; the fields after the n-th carry no meaning and are ignored.
template <std::size_t N>
std::array<int, N> DigitFields(std::string_view text, const char* what) {
  std::array<int, N> out{};
  std::size_t start = 0;
  for (std::size_t f = 0; f < N; ++f) {
    if (start > text.size()) {
      throw ESkinError("\"" + std::string(text) + "\" is not a valid " + what + " value");
    }
    std::size_t comma = text.find(',', start);
    std::string_view field =
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    start = comma == std::string_view::npos ? text.size() + 1 : comma + 1;
    std::int64_t value = 0;
    bool anyDigit = false;
    for (char c : field) {
      if (c < '0' || c > '9') continue;
      anyDigit = true;
      value = value * 10 + (c - '0');
      if (value > std::numeric_limits<int>::max()) {
        throw ESkinError("\"" + std::string(text) + "\" is not a valid " + what +
                         " value: a number is too large");
      }
    }
    if (!anyDigit) {
      throw ESkinError("\"" + std::string(text) + "\" is not a valid " + what + " value");
    }
    out[f] = int(value);
  }
  return out;
}

bool Contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

}  // namespace

TbsRect bsStrToRect(std::string_view text) {
  auto f = DigitFields<4>(text, "rectangle");
  return TbsRect{f[0], f[1], f[2], f[3]};
}

TbsPoint bsStrToPoint(std::string_view text) {
  auto f = DigitFields<2>(text, "point");
  return TbsPoint{f[0], f[1]};
}

TbsFontStyles bsStrToFontStyles(std::string_view text) {
  TbsFontStyles s = 0;
  if (Contains(text, "fsbold")) s |= fsBold;
  if (Contains(text, "fsitalic")) s |= fsItalic;
  if (Contains(text, "fsunderline")) s |= fsUnderline;
  if (Contains(text, "fsstrikeout")) s |= fsStrikeOut;
  return s;
}

TbsAlignment bsStrToAlignment(std::string_view text) {
  if (text == "taleftjustify") return TbsAlignment::taLeftJustify;
  if (text == "tacenter") return TbsAlignment::taCenter;
  return TbsAlignment::taRightJustify;
}

namespace {
constexpr std::array<std::string_view, 7> kMorphWords = {
    "mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient",
    "mkleftslide", "mkrightslide", "mkpush"};
constexpr std::array<std::string_view, 6> kEffectWords = {
    "iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};
constexpr std::array<std::string_view, 7> kCommandWords = {
    "cmclose", "cmmaximize", "cmminimize", "cmsysmenu", "cmdefault", "cmrollup",
    "cmminimizetotray"};

template <std::size_t N>
int WordIndex(const std::array<std::string_view, N>& words, std::string_view text, int fallback) {
  for (std::size_t i = 0; i < N; ++i) {
    if (words[i] == text) return int(i);
  }
  return fallback;
}
}  // namespace

TbsMorphKind bsStrToMorphKind(std::string_view text) {
  return TbsMorphKind(WordIndex(kMorphWords, text, 0));
}

TbsEffect bsStrToEffect(std::string_view text) {
  return TbsEffect(WordIndex(kEffectWords, text, int(TbsEffect::ieGrayScale)));
}

TbsCommand bsStrToCommand(std::string_view text) {
  // "cmminimizetotray" is in the list, so any unknown word lands there too.
  return TbsCommand(WordIndex(kCommandWords, text, int(TbsCommand::cmMinimizeToTray)));
}

std::string bsRectToStr(const TbsRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
         "," + std::to_string(r.Bottom);
}

std::string bsPointToStr(const TbsPoint& p) {
  return std::to_string(p.X) + "," + std::to_string(p.Y);
}

std::string bsFontStylesToStr(TbsFontStyles styles) {
  std::string out;
  auto add = [&](TbsFontStyles flag, const char* word) {
    if (!(styles & flag)) return;
    if (!out.empty()) out += ',';
    out += word;
  };
  add(fsBold, "fsbold");
  add(fsItalic, "fsitalic");
  add(fsUnderline, "fsunderline");
  add(fsStrikeOut, "fsstrikeout");
  return out;
}

std::string bsAlignmentToStr(TbsAlignment a) {
  switch (a) {
    case TbsAlignment::taLeftJustify: return "taleftjustify";
    case TbsAlignment::taCenter: return "tacenter";
    case TbsAlignment::taRightJustify: break;
  }
  return "tarightjustify";
}

std::string bsMorphKindToStr(TbsMorphKind m) {
  int i = int(m);
  return std::string(i >= 0 && i < int(kMorphWords.size()) ? kMorphWords[i] : kMorphWords[0]);
}

std::string bsEffectToStr(TbsEffect e) {
  int i = int(e);
  return std::string(i >= 0 && i < int(kEffectWords.size()) ? kEffectWords[i] : kEffectWords[2]);
}

std::string bsCommandToStr(TbsCommand c) {
  int i = int(c);
  return std::string(i >= 0 && i < int(kCommandWords.size()) ? kCommandWords[i]
                                                              : kCommandWords[6]);
}

namespace {
std::string Where(std::string_view section, std::string_view key) {
  return "[" + std::string(section) + "] " + std::string(key) + ": ";
}
}  // namespace

int ReadInteger(const TbsSkinIni& ini, std::string_view section, std::string_view key, int def) {
  const std::string* v = ini.Find(section, key);
  if (!v) return def;
  return bsParseInteger(*v).value_or(def);
}

TbsColor ReadColor(const TbsSkinIni& ini, std::string_view section, std::string_view key,
                   TbsColor def) {
  return TbsColor(ReadInteger(ini, section, key, int(def)));
}

bool ReadBoolean(const TbsSkinIni& ini, std::string_view section, std::string_view key) {
  return ReadInteger(ini, section, key, 0) == 1;
}

TbsRect ReadRect(const TbsSkinIni& ini, std::string_view section, std::string_view key) {
  const std::string* v = ini.Find(section, key);
  if (!v) return TbsRect{};
  try {
    return bsStrToRect(*v);
  } catch (const ESkinError& e) {
    throw ESkinError(Where(section, key) + e.what());
  }
}

TbsPoint ReadPoint(const TbsSkinIni& ini, std::string_view section, std::string_view key) {
  const std::string* v = ini.Find(section, key);
  if (!v) return TbsPoint{};
  try {
    return bsStrToPoint(*v);
  } catch (const ESkinError& e) {
    throw ESkinError(Where(section, key) + e.what());
  }
}

TbsFontStyles ReadFontStyles(const TbsSkinIni& ini, std::string_view section,
                             std::string_view key) {
  const std::string* v = ini.Find(section, key);
  return v ? bsStrToFontStyles(*v) : 0;
}

TbsAlignment ReadAlignment(const TbsSkinIni& ini, std::string_view section, std::string_view key) {
  const std::string* v = ini.Find(section, key);
  return v ? bsStrToAlignment(*v) : TbsAlignment::taCenter;
}

TbsMorphKind ReadMorphKind(const TbsSkinIni& ini, std::string_view section, std::string_view key) {
  const std::string* v = ini.Find(section, key);
  return v ? bsStrToMorphKind(*v) : TbsMorphKind::mkDefault;
}

TbsEffect ReadEffect(const TbsSkinIni& ini, std::string_view section, std::string_view key) {
  const std::string* v = ini.Find(section, key);
  return v ? bsStrToEffect(*v) : TbsEffect::ieBrightness;
}

TbsCommand ReadCommand(const TbsSkinIni& ini, std::string_view section, std::string_view key) {
  const std::string* v = ini.Find(section, key);
  return v ? bsStrToCommand(*v) : TbsCommand::cmDefault;
}

void ReadStrings(const TbsSkinIni& ini, std::string_view section, std::string_view name,
                 std::vector<std::string>& list, int maxCount) {
  std::string countKey = std::string(name) + "count";
  int count = ReadInteger(ini, section, countKey, 0);
  if (count > maxCount) {
    throw ESkinError(Where(section, countKey) + "the list holds " + std::to_string(count) +
                     " names, more than the limit of " + std::to_string(maxCount));
  }
  for (int i = 0; i < count; ++i) {
    list.push_back(ini.ReadString(section, std::to_string(i), ""));
  }
}

void WriteInteger(TbsSkinIni& ini, std::string_view section, std::string_view key, int value) {
  ini.WriteString(section, key, std::to_string(value));
}

void WriteColor(TbsSkinIni& ini, std::string_view section, std::string_view key, TbsColor value) {
  // Written signed, so that the integer reader takes every 32-bit value back.
  WriteInteger(ini, section, key, int(std::int32_t(value)));
}

void WriteBoolean(TbsSkinIni& ini, std::string_view section, std::string_view key, bool value) {
  ini.WriteString(section, key, value ? "1" : "0");
}

void WriteStrings(TbsSkinIni& ini, std::string_view section, std::string_view name,
                  const std::vector<std::string>& list) {
  WriteInteger(ini, section, std::string(name) + "count", int(list.size()));
  for (std::size_t i = 0; i < list.size(); ++i) {
    ini.WriteString(section, std::to_string(i), list[i]);
  }
}
