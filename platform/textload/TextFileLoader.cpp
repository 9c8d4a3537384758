#include "platform/textload/TextFileLoader.h"

#include "platform/rtf/RtfReader.h"
#include "platform/textload/FileContent.h"
#include "platform/textdecode/PlainTextDecoder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace rasp {

namespace {

class TFileHandle {
public:
    explicit TFileHandle(int fd) : FFd(fd) {}
    ~TFileHandle() {
        if (FFd >= 0) ::close(FFd);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Get() const { return FFd; }

private:
    int FFd;
};

[[noreturn]] void Fail(const std::string& reason) { throw ELoadStreamError(reason); }

[[noreturn]] void FailWithErrno() { Fail(std::strerror(errno)); }

std::string TooLarge() { return "the file is larger than " + std::to_string(kMaxLoadFileSize >> 20) + " MB"; }

}  // namespace

ELoadStreamError::ELoadStreamError(std::string reason)
    : std::runtime_error(kFailedToLoadStream), FReason(std::move(reason)) {}

std::string ReadFileBytes(const std::string& path, TStreamPolicy policy) {
    const bool streams = policy == TStreamPolicy::AllowStreams;
    // For a pane the open must not block: a named pipe would wait for a
    // writer before the regular-file check could turn it away.
    TFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (streams ? 0 : O_NONBLOCK)));
    if (file.Get() < 0) FailWithErrno();
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) FailWithErrno();
    if (S_ISDIR(info.st_mode)) Fail("it is a folder, not a file");
    if (!S_ISREG(info.st_mode) && !streams) Fail("it is not an ordinary file");
    if (S_ISREG(info.st_mode) && static_cast<unsigned long long>(info.st_size) > kMaxLoadFileSize) Fail(TooLarge());

    std::string bytes;
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            // The file may have grown since fstat, or is a stream: read on,
            // one byte past the limit at most, to tell "too large" apart.
            if (have > kMaxLoadFileSize) Fail(TooLarge());
            bytes.resize(std::min(kMaxLoadFileSize + 1, have + 65536));
        }
        const ssize_t n = ::read(file.Get(), bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            FailWithErrno();
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    if (have > kMaxLoadFileSize) Fail(TooLarge());
    bytes.resize(have);
    return bytes;
}

std::u16string DecodeTextBytes(std::string_view bytes) {
    const TContentCheck content = CheckFileContent(bytes);
    switch (content.kind) {
        case TContentKind::RichText: return RtfToText(bytes).value_or(std::u16string());
        case TContentKind::PlainText: return DecodePlainText(bytes).text;
        case TContentKind::WordDocument: Fail("it is a word-processor document, not text");
        case TContentKind::NotText: Fail(content.reason);
    }
    Fail("its content is not known");
}

std::u16string LoadTextFile(const std::string& path, TStreamPolicy policy) {
    return DecodeTextBytes(ReadFileBytes(path, policy));
}

}  // namespace rasp
