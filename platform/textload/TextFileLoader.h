#pragma once
// The pane's own file loader: a file is read as rich text first and, when it
// is not rich text, as plain text. Anything that keeps the file from being
// read (missing, a folder, a device, no permission, too large) ends in
// std::runtime_error("Failed to Load Stream").

#include <cstddef>
#include <string>
#include <string_view>

namespace rasp {

inline constexpr char kFailedToLoadStream[] = "Failed to Load Stream";

// Larger files are refused rather than exhausting memory in the pane.
inline constexpr std::size_t kMaxLoadFileSize = std::size_t{256} << 20;

// The whole content of a regular file; throws "Failed to Load Stream".
std::string ReadFileBytes(const std::string& path);

// Rich text when the bytes are RTF, otherwise decoded plain text; CR LF breaks.
std::u16string DecodeTextBytes(std::string_view bytes);

std::u16string LoadTextFile(const std::string& path);

}  // namespace rasp
