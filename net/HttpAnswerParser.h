#pragma once
// Reads an HTTP/1.1 answer as it arrives: the status line, the header fields
// and the body, whose end comes from Content-Length, from the last chunk of a
// chunked body, or from the server closing the connection. Anything else that
// ends the bytes early is a failure, so a cut answer is never taken for a
// whole one. No Qt, so that it can be tested and fuzzed alone.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rasp {

class THttpAnswerParser {
public:
    // Limits that keep a hostile server from growing the header without end.
    static constexpr std::size_t kMaxLineLength = 8 * 1024;
    static constexpr std::size_t kMaxHeaderFields = 200;
    // All lines of one header together, folded continuations included.
    static constexpr std::size_t kMaxHeaderSize = 64 * 1024;

    // Body bytes as they arrive (already de-chunked).
    std::function<void(std::string_view)> OnBody;

    // Feeds the next bytes of the connection; does nothing once done or failed.
    void Feed(std::string_view bytes);
    // The connection closed: completes an answer whose body runs to the close,
    // fails any other that is not yet complete.
    void Finish();

    bool Done() const { return FState == TState::Done; }
    bool Failed() const { return FState == TState::Failed; }
    bool HeaderComplete() const { return FHeaderComplete; }
    const std::string& Error() const { return FError; }

    int Status() const { return FStatus; }
    // The first field of that name (letter case ignored), empty when absent.
    std::string Header(std::string_view name) const;
    std::vector<std::string> Headers(std::string_view name) const;

private:
    enum class TState { StatusLine, Headers, Body, ChunkSize, ChunkData, ChunkDataEnd, Trailers, Done, Failed };
    enum class TLength { None, Counted, Chunked, UntilClose };

    bool TakeLine(std::string_view& bytes, std::string& line);
    void Fail(std::string message);
    void StatusLine(const std::string& line);
    void HeaderLine(const std::string& line);
    void HeaderEnd();
    void ChunkSizeLine(const std::string& line);
    void Body(std::string_view bytes);

    TState FState = TState::StatusLine;
    TLength FLength = TLength::None;
    std::string FLine;  // a line not yet ended
    std::string FError;
    int FStatus = 0;
    bool FHeaderComplete = false;
    std::size_t FHeaderSize = 0;  // bytes of the header's lines so far
    std::vector<std::pair<std::string, std::string>> FFields;
    std::uint64_t FRemaining = 0;  // of the counted body or of the current chunk
};

}  // namespace rasp
