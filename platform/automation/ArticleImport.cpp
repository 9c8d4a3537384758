#include "platform/automation/ArticleImport.h"

#include "platform/automation/WordDocumentReader.h"
#include "platform/textdecode/CodePage.h"
#include "platform/textload/FileContent.h"
#include "platform/textload/TextFileLoader.h"

#include <sys/stat.h>

namespace rasp {

std::vector<std::u16string> SplitLines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines.emplace_back(text, start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text, start);
    return lines;
}

std::vector<std::u16string> ReadDocumentLines(const TAutomationRegistry& registry, const std::string& fileName) {
    return SplitLines(ReadWordDocumentText(registry, Utf8ToUtf16(fileName)));
}

TImportRoute ChooseImportRoute(const std::string& fileName, TStreamPolicy policy, std::string* bytes) {
    if (IsWordDocumentName(fileName)) return TImportRoute::WordProcessor;
    std::string read = ReadFileBytes(fileName, policy);
    const TContentCheck content = CheckFileContent(read);
    if (content.kind == TContentKind::NotText) throw ELoadStreamError(content.reason);
    if (content.kind == TContentKind::WordDocument) {
        // The word processor opens the file by its name: what came through a
        // pipe is gone by then.
        struct stat info {};
        if (::stat(fileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            throw ELoadStreamError("it is a word-processor document, which can only be read from a file");
        return TImportRoute::WordProcessor;
    }
    if (bytes) *bytes = std::move(read);
    return TImportRoute::PaneLoader;
}

std::u16string LoadArticleText(const std::string& fileName, const TAutomationRegistry& registry,
                               TStreamPolicy policy) {
    std::string bytes;
    if (ChooseImportRoute(fileName, policy, &bytes) == TImportRoute::PaneLoader) return DecodeTextBytes(bytes);
    std::u16string joined;
    bool first = true;
    for (const std::u16string& line : ReadDocumentLines(registry, fileName)) {
        if (!first) joined += u"\r\n";
        joined += line;
        first = false;
    }
    return joined;
}

}  // namespace rasp
