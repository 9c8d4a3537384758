#pragma once
// The pane's own file loader: a file is read as rich text first and, when it
// is not rich text, as plain text. Anything that keeps the file from being
// read (missing, a folder, a device, no permission, too large) ends in
// std::runtime_error("Failed to Load Stream").

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rasp {

inline constexpr char kFailedToLoadStream[] = "Failed to Load Stream";

// Larger files are refused rather than exhausting memory in the pane.
inline constexpr std::size_t kMaxLoadFileSize = std::size_t{256} << 20;

// "Failed to Load Stream", with the reason kept for whoever tells the user.
class ELoadStreamError : public std::runtime_error {
public:
    explicit ELoadStreamError(std::string reason);
    const std::string& Reason() const { return FReason; }

private:
    std::string FReason;
};

// Regular files only: a pane must never wait on a pipe or read a device
// forever. A command-line caller may also read pipes and devices (up to
// the size limit), waiting for them as any command-line tool does.
enum class TStreamPolicy { RegularFilesOnly, AllowStreams };

// The whole content of the file; throws ELoadStreamError.
std::string ReadFileBytes(const std::string& path, TStreamPolicy policy = TStreamPolicy::RegularFilesOnly);

// Rich text when the bytes are RTF, otherwise decoded plain text; CR LF breaks.
// Bytes that are not text (see CheckFileContent) throw ELoadStreamError with
// the reason.
std::u16string DecodeTextBytes(std::string_view bytes);

std::u16string LoadTextFile(const std::string& path, TStreamPolicy policy = TStreamPolicy::RegularFilesOnly);

}  // namespace rasp
