#include "net/HttpAnswerParser.h"

#include <algorithm>

namespace rasp {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lower(x) == Lower(y);
           });
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (IsDigit(c)) return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

const char* const kCut = "The connection closed before the answer was complete.";

}  // namespace

void THttpAnswerParser::Fail(std::string message)
{
    if (FState == TState::Failed || FState == TState::Done) return;
    FState = TState::Failed;
    FError = std::move(message);
}

// A line ends with LF (CR LF or a bare LF); false while the line is unfinished.
bool THttpAnswerParser::TakeLine(std::string_view& bytes, std::string& line)
{
    const std::size_t lf = bytes.find('\n');
    const std::size_t take = lf == std::string_view::npos ? bytes.size() : lf;
    if (FLine.size() + take > kMaxLineLength) {
        Fail("The answer has a header line that is too long.");
        return false;
    }
    FLine.append(bytes.substr(0, take));
    if (lf == std::string_view::npos) {
        bytes = {};
        return false;
    }
    bytes.remove_prefix(lf + 1);
    if (!FLine.empty() && FLine.back() == '\r') FLine.pop_back();
    line.swap(FLine);
    FLine.clear();
    return true;
}

void THttpAnswerParser::Feed(std::string_view bytes)
{
    std::string line;
    while (!bytes.empty()) {
        switch (FState) {
            case TState::Done:
            case TState::Failed:
                return;  // bytes after the answer are not ours to read
            case TState::StatusLine:
                if (TakeLine(bytes, line)) StatusLine(line);
                break;
            case TState::Headers:
                if (TakeLine(bytes, line)) HeaderLine(line);
                break;
            case TState::ChunkSize:
                if (TakeLine(bytes, line)) ChunkSizeLine(line);
                break;
            case TState::ChunkDataEnd:
                if (TakeLine(bytes, line)) {
                    if (line.empty())
                        FState = TState::ChunkSize;
                    else
                        Fail("The chunked answer is malformed.");
                }
                break;
            case TState::Trailers:
                if (TakeLine(bytes, line) && line.empty()) FState = TState::Done;
                break;
            case TState::Body:
            case TState::ChunkData: {
                std::string_view part = bytes;
                if (FLength != TLength::UntilClose) {
                    part = bytes.substr(0, std::size_t(std::min<std::uint64_t>(FRemaining, bytes.size())));
                    FRemaining -= part.size();
                }
                bytes.remove_prefix(part.size());
                Body(part);
                if (FLength != TLength::UntilClose && FRemaining == 0)
                    FState = FState == TState::Body ? TState::Done : TState::ChunkDataEnd;
                break;
            }
        }
    }
}

void THttpAnswerParser::Body(std::string_view bytes)
{
    if (!bytes.empty() && OnBody) OnBody(bytes);
}

void THttpAnswerParser::StatusLine(const std::string& line)
{
    // HTTP/1.x SP 3DIGIT [SP reason]
    const std::string_view l(line);
    if (l.size() < 12 || l.substr(0, 7) != "HTTP/1." || !IsDigit(l[7]) || l[8] != ' ' || !IsDigit(l[9]) ||
        !IsDigit(l[10]) || !IsDigit(l[11]) || (l.size() > 12 && l[12] != ' ')) {
        Fail("The server's answer is not HTTP.");
        return;
    }
    FStatus = (l[9] - '0') * 100 + (l[10] - '0') * 10 + (l[11] - '0');
    if (FStatus < 100) {
        Fail("The server's answer is not HTTP.");
        return;
    }
    FFields.clear();
    FHeaderSize = 0;
    FState = TState::Headers;
}

void THttpAnswerParser::HeaderLine(const std::string& line)
{
    if (line.empty()) {
        HeaderEnd();
        return;
    }
    FHeaderSize += line.size();
    if (FHeaderSize > kMaxHeaderSize) {
        Fail("The answer's header is too long.");
        return;
    }
    if (line.front() == ' ' || line.front() == '\t') {
        // A folded continuation of the field before.
        if (FFields.empty()) {
            Fail("The answer's header is malformed.");
            return;
        }
        FFields.back().second += ' ';
        FFields.back().second += Trim(line);
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0 || Trim(std::string_view(line).substr(0, colon)).size() != colon) {
        Fail("The answer's header is malformed.");
        return;
    }
    if (FFields.size() >= kMaxHeaderFields) {
        Fail("The answer's header has too many fields.");
        return;
    }
    FFields.emplace_back(line.substr(0, colon), std::string(Trim(std::string_view(line).substr(colon + 1))));
}

void THttpAnswerParser::HeaderEnd()
{
    if (FStatus < 200) {
        if (FStatus == 101) {
            Fail("The server switched to another protocol.");
            return;
        }
        FState = TState::StatusLine;  // an interim answer; the real one follows
        return;
    }
    FHeaderComplete = true;
    if (FStatus == 204 || FStatus == 304) {
        FState = TState::Done;
        return;
    }
    const std::string coding = Header("Transfer-Encoding");
    if (!coding.empty()) {
        // Only "chunked" as the last coding says where the body ends.
        std::string lower;
        for (char c : coding) lower += Lower(c);
        const std::string_view last = Trim(std::string_view(lower).substr(lower.rfind(',') == std::string::npos
                                                                              ? 0
                                                                              : lower.rfind(',') + 1));
        if (last != "chunked") {
            Fail("The answer uses a transfer coding this client does not read.");
            return;
        }
        FLength = TLength::Chunked;
        FState = TState::ChunkSize;
        return;
    }
    const std::vector<std::string> lengths = Headers("Content-Length");
    if (lengths.empty()) {
        FLength = TLength::UntilClose;
        FState = TState::Body;
        return;
    }
    std::uint64_t length = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const std::string& text = lengths[i];
        if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), IsDigit)) {
            Fail("The answer's Content-Length is not a number.");
            return;
        }
        const std::uint64_t value = std::stoull(text);
        if (i > 0 && value != length) {
            Fail("The answer gives two different lengths.");
            return;
        }
        length = value;
    }
    FLength = TLength::Counted;
    FRemaining = length;
    FState = length == 0 ? TState::Done : TState::Body;
}

void THttpAnswerParser::ChunkSizeLine(const std::string& line)
{
    std::string_view l = Trim(std::string_view(line).substr(0, line.find(';')));
    if (l.empty() || l.size() > 15) {
        Fail("The chunked answer is malformed.");
        return;
    }
    std::uint64_t size = 0;
    for (char c : l) {
        const int v = HexValue(c);
        if (v < 0) {
            Fail("The chunked answer is malformed.");
            return;
        }
        size = size * 16 + std::uint64_t(v);
    }
    if (size == 0) {
        FState = TState::Trailers;
        return;
    }
    FRemaining = size;
    FState = TState::ChunkData;
}

void THttpAnswerParser::Finish()
{
    if (FState == TState::Body && FLength == TLength::UntilClose) {
        FState = TState::Done;
        return;
    }
    if (FState == TState::StatusLine && FStatus == 0 && FLine.empty()) {
        Fail("The server closed the connection without an answer.");
        return;
    }
    Fail(kCut);
}

std::string THttpAnswerParser::Header(std::string_view name) const
{
    for (const auto& [key, value] : FFields)
        if (SameName(key, name)) return value;
    return {};
}

std::vector<std::string> THttpAnswerParser::Headers(std::string_view name) const
{
    std::vector<std::string> out;
    for (const auto& [key, value] : FFields)
        if (SameName(key, name)) out.push_back(value);
    return out;
}

}  // namespace rasp
