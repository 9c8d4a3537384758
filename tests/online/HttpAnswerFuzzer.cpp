// The HTTP answer parser alone, thousands of answers a second: the input is
// the answer, fed once whole and once in pieces whose sizes the input's own
// bytes choose. Both must read the same answer; every answer ends done or
// failed once the connection closes; a counted body is never longer than
// its Content-Length.

#include "net/HttpAnswerParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

struct TReading {
    rasp::THttpAnswerParser Parser;
    std::string Body;
    TReading() { Parser.OnBody = [this](std::string_view bytes) { Body += bytes; }; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    TReading whole;
    whole.Parser.Feed(answer);
    whole.Parser.Finish();

    TReading pieces;
    std::uint32_t state = 2166136261u;
    for (std::size_t at = 0; at < answer.size();) {
        state = (state ^ std::uint8_t(answer[at])) * 16777619u;
        const std::size_t piece = 1 + state % 7;
        pieces.Parser.Feed(answer.substr(at, piece));
        at += piece;
    }
    pieces.Parser.Finish();

    const rasp::THttpAnswerParser& a = whole.Parser;
    const rasp::THttpAnswerParser& b = pieces.Parser;
    if (a.Done() == a.Failed() || a.Done() != b.Done() || a.Status() != b.Status() || a.Error() != b.Error()
        || whole.Body != pieces.Body || a.HeaderComplete() != b.HeaderComplete())
        std::abort();
    if (whole.Body.size() > size)
        std::abort();
    const std::string length = a.Header("Content-Length");
    if (a.Done() && a.Status() != 204 && a.Status() != 304 && a.Header("Transfer-Encoding").empty() && !length.empty()
        && whole.Body.size() != std::stoull(length))
        std::abort();
    return 0;
}
