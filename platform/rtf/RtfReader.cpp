#include "platform/rtf/RtfReader.h"

#include "platform/rtf/RtfControlWords.h"
#include "platform/textdecode/CodePage.h"
#include "platform/textdecode/PlainTextDecoder.h"

#include <algorithm>
#include <climits>
#include <map>
#include <utility>
#include <memory>
#include <vector>

namespace rasp {

namespace {

// Deeper groups than this share the state of the deepest one kept, so a
// hostile nesting cannot grow the stack without bound.
constexpr std::size_t kMaxDepth = 4096;

struct TGroupState {
    bool skip = false;       // destination whose text is not shown
    bool fontTable = false;
    int unicodeSkip = 1;     // fallback characters after \uN
    int font = -1;           // -1: the document's default font
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Writers star destinations that older readers may drop; these hold article
// text (a hyperlink's visible text) and are read all the same.
bool IsReadableStarredDestination(std::string_view name) { return name == "fldrslt"; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class TRtfReader {
public:
    explicit TRtfReader(std::string_view bytes) : FIn(bytes) {}

    std::u16string Read() {
        // The opening brace of the document group.
        FPos = 1;
        FStack.push_back(TGroupState{});
        while (FPos < FIn.size() && !FStack.empty()) Step();
        FlushBytes();
        NormaliseLineBreaks(FOut);
        return std::move(FOut);
    }

private:
    std::string_view FIn;
    std::size_t FPos = 0;
    std::vector<TGroupState> FStack;
    std::size_t FOverflowDepth = 0;
    std::u16string FOut;
    std::string FPendingBytes;  // 8-bit text waiting to be decoded together
    int FPendingCodePage = cpWindows1252;
    int FFallbackLeft = 0;      // \uN fallback characters still to skip
    // Set by \* until the next token: a starred destination that the reader
    // knows is read as if unstarred, any other one is left out.
    bool FAfterStar = false;
    bool FSkipBeforeStar = false;
    int FDocumentCodePage = cpWindows1252;
    int FDefaultFont = -1;
    int FTableFont = -1;        // font being described in the font table
    std::map<int, int> FFontCodePages;
    std::map<int, std::unique_ptr<TCodePageDecoder>> FDecoders;

    TGroupState& State() { return FStack.back(); }
    bool Hidden() { return State().skip || State().fontTable; }

    int CurrentCodePage() {
        const int font = State().font >= 0 ? State().font : FDefaultFont;
        const auto it = FFontCodePages.find(font);
        return it != FFontCodePages.end() ? it->second : FDocumentCodePage;
    }

    void FlushBytes() {
        if (FPendingBytes.empty()) return;
        auto& decoder = FDecoders[FPendingCodePage];
        if (!decoder) decoder = std::make_unique<TCodePageDecoder>(FPendingCodePage);
        decoder->Append(FPendingBytes, FOut);
        FPendingBytes.clear();
    }

    // One byte of text in the current code page (a literal or a \'hh).
    void TextByte(char byte) {
        if (FFallbackLeft > 0) {
            --FFallbackLeft;
            return;
        }
        if (Hidden()) return;
        const int cp = CurrentCodePage();
        if (cp != FPendingCodePage) {
            FlushBytes();
            FPendingCodePage = cp;
        }
        FPendingBytes.push_back(byte);
    }

    void Emit(char16_t c) {
        if (Hidden()) return;
        FlushBytes();
        FOut.push_back(c);
    }

    void Step() {
        const bool afterStar = std::exchange(FAfterStar, false);
        const char c = FIn[FPos++];
        switch (c) {
            case '{':
                FlushBytes();
                FFallbackLeft = 0;
                if (FStack.size() < kMaxDepth) FStack.push_back(State());
                else ++FOverflowDepth;
                break;
            case '}':
                FlushBytes();
                FFallbackLeft = 0;
                if (FOverflowDepth > 0) --FOverflowDepth;
                else FStack.pop_back();
                break;
            case '\\': ControlSequence(afterStar); break;
            case '\r': case '\n': case '\0': break;  // line structure of the file only
            case '\t':
                if (FFallbackLeft > 0) --FFallbackLeft;
                else Emit(u'\t');
                break;
            default: TextByte(c); break;
        }
    }

    void ControlSequence(bool afterStar) {
        if (FPos >= FIn.size()) return;
        const char c = FIn[FPos];
        if (IsLetter(c)) {
            ControlWord(afterStar);
            return;
        }
        ++FPos;
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && FPos < FIn.size() && HexValue(FIn[FPos]) >= 0) {
                value = value * 16 + HexValue(FIn[FPos++]);
                ++digits;
            }
            if (digits > 0) TextByte(static_cast<char>(value));
            return;
        }
        if (FFallbackLeft > 0) {
            --FFallbackLeft;
            return;
        }
        switch (c) {
            case '\\': case '{': case '}': TextByte(c); break;
            case '*':
                FlushBytes();
                FSkipBeforeStar = State().skip;
                State().skip = true;
                FAfterStar = true;
                break;
            case '~': Emit(0x00A0); break;
            case '_': Emit(0x2011); break;
            case '\r': case '\n': Emit(u'\r'); Emit(u'\n'); break;
            default: break;  // \- optional hyphen, \| \: and unknown symbols
        }
    }

    void ControlWord(bool afterStar) {
        const std::size_t start = FPos;
        while (FPos < FIn.size() && IsLetter(FIn[FPos])) ++FPos;
        const std::string_view name = FIn.substr(start, FPos - start);
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (FPos + 1 < FIn.size() && FIn[FPos] == '-' && IsDigit(FIn[FPos + 1])) {
            negative = true;
            ++FPos;
        }
        while (FPos < FIn.size() && IsDigit(FIn[FPos])) {
            hasParam = true;
            if (param < INT_MAX) param = param * 10 + (FIn[FPos] - '0');
            ++FPos;
        }
        if (param > INT_MAX) param = INT_MAX;
        if (negative) param = -param;
        if (FPos < FIn.size() && FIn[FPos] == ' ') ++FPos;
        if (afterStar && IsReadableStarredDestination(name)) State().skip = FSkipBeforeStar;
        Apply(name, hasParam, static_cast<int>(param));
    }

    void Apply(std::string_view name, bool hasParam, int param) {
        const TRtfControlWord word = LookupRtfControlWord(name);
        if (word.action == TRtfAction::Binary) {
            // Raw data is never text, whatever group it is in.
            FlushBytes();
            const std::size_t n = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
            FPos += std::min(n, FIn.size() - FPos);
            if (FFallbackLeft > 0) --FFallbackLeft;
            return;
        }
        if (FFallbackLeft > 0) {
            --FFallbackLeft;
            return;
        }
        FlushBytes();
        TGroupState& st = State();
        switch (word.action) {
            case TRtfAction::Ignore: break;
            case TRtfAction::Character: Emit(word.character); break;
            case TRtfAction::LineBreak: Emit(u'\r'); Emit(u'\n'); break;
            case TRtfAction::SkipGroup: st.skip = true; break;
            case TRtfAction::FontTable: st.fontTable = true; break;
            case TRtfAction::UnicodeChar:
                if (!hasParam || Hidden()) break;
                FOut.push_back(static_cast<char16_t>(param < 0 ? param + 65536 : param));
                FFallbackLeft = st.unicodeSkip;
                break;
            case TRtfAction::UnicodeSkip:
                if (hasParam) st.unicodeSkip = param < 0 ? 0 : param;
                break;
            case TRtfAction::Font:
                if (!hasParam) break;
                if (st.fontTable) FTableFont = param;
                else st.font = param;
                break;
            case TRtfAction::DefaultFont:
                if (hasParam) FDefaultFont = param;
                break;
            case TRtfAction::Plain: st.font = -1; break;
            case TRtfAction::CodePage:
                if (hasParam && param > 0) FDocumentCodePage = param;
                break;
            case TRtfAction::Charset: FDocumentCodePage = word.character; break;
            case TRtfAction::FontCharset:
                if (st.fontTable && hasParam && FTableFont >= 0) {
                    if (const int cp = CodePageFromCharset(param); cp != 0) FFontCodePages[FTableFont] = cp;
                }
                break;
            case TRtfAction::FontCodePage:
                if (st.fontTable && hasParam && param > 0 && FTableFont >= 0) FFontCodePages[FTableFont] = param;
                break;
            case TRtfAction::Binary: break;
        }
    }
};

}  // namespace

bool LooksLikeRtf(std::string_view bytes) { return bytes.substr(0, 5) == "{\\rtf"; }

std::optional<std::u16string> RtfToText(std::string_view bytes) {
    if (!LooksLikeRtf(bytes)) return std::nullopt;
    return TRtfReader(bytes).Read();
}

}  // namespace rasp
