#include "platform/textload/TextFileLoader.h"

#include "platform/rtf/RtfReader.h"
#include "platform/textload/PlainTextDecoder.h"

#include <algorithm>
#include <cerrno>
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

[[noreturn]] void Fail() { throw std::runtime_error(kFailedToLoadStream); }

}  // namespace

std::string ReadFileBytes(const std::string& path) {
    // Non-blocking open, so a named pipe cannot hang the caller before the
    // regular-file check turns it away.
    TFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0) Fail();
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) Fail();
    if (static_cast<unsigned long long>(info.st_size) > kMaxLoadFileSize) Fail();

    std::string bytes;
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            // The file may have grown since fstat; read on up to the limit.
            if (bytes.size() >= kMaxLoadFileSize) Fail();
            bytes.resize(std::min(kMaxLoadFileSize, bytes.size() + 65536));
        }
        const ssize_t n = ::read(file.Get(), bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail();
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    bytes.resize(have);
    return bytes;
}

std::u16string DecodeTextBytes(std::string_view bytes) {
    if (auto rich = RtfToText(bytes)) return std::move(*rich);
    return DecodePlainText(bytes).text;
}

std::u16string LoadTextFile(const std::string& path) { return DecodeTextBytes(ReadFileBytes(path)); }

}  // namespace rasp
