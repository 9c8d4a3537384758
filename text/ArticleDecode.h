#pragma once
// Turning the bytes of a plain-text article file into pane text: UTF-8 (a BOM
// is skipped), or Windows-1252 when the bytes are not valid UTF-8; every line
// break (LF, CR or CR LF) becomes CR LF, as the text control delivers it.

#include <optional>
#include <string>
#include <string_view>

namespace rasp {

// Strict UTF-8 to UTF-16; nullopt on any malformed, overlong or surrogate sequence.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes);
std::u16string DecodeWindows1252(std::string_view bytes);

// Appends `bytes` read as Windows-1252. The five bytes the code page leaves
// undefined map to the C1 control of the same value, as Windows does.
void AppendWindows1252(std::string_view bytes, std::u16string& out);
// Appends `bytes` read as UTF-8; every byte that starts no well-formed
// sequence becomes U+FFFD.
void AppendUtf8(std::string_view bytes, std::u16string& out);
// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);
std::u16string NormaliseLineBreaks(std::u16string_view text);

std::u16string DecodeArticleBytes(std::string_view bytes);

// Larger files are refused: their text could not be addressed by the 32-bit
// positions of the span records.
inline constexpr long long kMaxArticleFileBytes = 512LL * 1024 * 1024;

// Throws std::runtime_error with a one-line reason when the file cannot be read.
std::u16string ReadArticleFile(const std::string& path);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

}  // namespace rasp
