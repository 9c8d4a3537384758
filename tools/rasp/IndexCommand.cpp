#include "tools/rasp/IndexCommand.h"

#include <filesystem>
#include <sys/stat.h>

#include "index/IndexStore.h"
#include "index/WordRunFingerprints.h"
#include "platform/automation/AutomationRegistry.h"
#include "platform/automation/LibreOfficeWord.h"
#include "platform/textload/TextFileLoader.h"
#include "text/ArticleNormalise.h"

namespace rasp {

namespace {

std::uint64_t ContentHash(std::string_view bytes) noexcept {
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001B3ULL;
    }
    return h;
}

std::string Printable(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return out;
}

std::string Plural(std::int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The stamp of the file as it is now; false when it cannot be read.
bool StampFile(const std::string& path, TDocumentStamp& stamp, std::string& reason) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        reason = "cannot read the file";
        return false;
    }
    stamp.Size = static_cast<std::int64_t>(info.st_size);
    stamp.ModifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    try {
        stamp.ContentHash = ContentHash(ReadFileBytes(path));
    } catch (const ELoadStreamError& e) {
        reason = e.Reason();
        return false;
    }
    return true;
}

}  // namespace

std::string IndexedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

int RunIndexAdd(const std::string& location, const std::vector<std::string>& paths, std::ostream& out,
                std::ostream& err) {
    const std::unique_ptr<TIndexStore> store = OpenIndexStore(location, TIndexOpen::CreateIfMissing);
    const TScanFiles files = CollectScanFiles(paths, "");
    for (const TScanProblem& note : files.Notes)
        err << "rasp: note: skipping '" << Printable(note.Path) << "': " << note.Reason << "\n";
    std::size_t skipped = files.Skipped.size();
    for (const TScanProblem& problem : files.Skipped)
        err << "rasp: skipped '" << Printable(problem.Path) << "': " << problem.Reason << "\n";

    std::unique_ptr<TAutomationRegistry> automation;
    std::int64_t added = 0, updated = 0, unchanged = 0;
    for (const TScanFile& file : files.Files) {
        const std::string path = IndexedPath(file.Path);
        std::string reason;
        TIndexedDocument document;
        document.Path = path;
        if (!StampFile(file.Path, document.Stamp, reason)) {
            err << "rasp: skipped '" << Printable(file.Path) << "': " << reason << "\n";
            ++skipped;
            continue;
        }
        const std::optional<TIndexedDocument> known = store->Find(path);
        if (known && known->Stamp == document.Stamp) {
            ++unchanged;
            continue;
        }
        if (file.Document && !automation) {
            automation = std::make_unique<TAutomationRegistry>();
            RegisterLibreOfficeWord(*automation);
        }
        std::u16string text = LoadScanFileText(file, automation.get(), reason);
        if (!reason.empty()) {
            err << "rasp: skipped '" << Printable(file.Path) << "': " << reason << "\n";
            ++skipped;
            continue;
        }
        NormaliseArticleText(text);
        const TArticleFingerprints fingerprints = FingerprintArticle(text);
        document.Words = fingerprints.Words;
        document.Fingerprints = static_cast<std::int64_t>(fingerprints.Hashes.size());
        store->Put(document, fingerprints.Hashes);
        ++(known ? updated : added);
    }
    out << added << " added, " << updated << " updated, " << unchanged << " unchanged";
    if (skipped > 0) out << ", " << skipped << " skipped";
    out << "\n";
    return skipped == 0 ? 0 : kScanSkippedStatus;
}

int RunIndexRemove(const std::string& location, const std::vector<std::string>& paths, std::ostream& out,
                   std::ostream& err) {
    const std::unique_ptr<TIndexStore> store = OpenIndexStore(location, TIndexOpen::Existing);
    std::vector<TIndexedDocument> listed;
    bool listedRead = false;
    std::int64_t removed = 0;
    bool missing = false;
    for (const std::string& given : paths) {
        const std::string path = IndexedPath(given);
        if (store->Remove(path)) {
            ++removed;
            continue;
        }
        // A folder takes every document under it.
        if (!listedRead) {
            listed = store->List();
            listedRead = true;
        }
        const std::string prefix = path.ends_with('/') ? path : path + "/";
        std::int64_t under = 0;
        for (const TIndexedDocument& document : listed)
            if (document.Path.starts_with(prefix) && store->Remove(document.Path)) ++under;
        if (under == 0) {
            err << "rasp: '" << Printable(given) << "' is not in the index\n";
            missing = true;
        }
        removed += under;
    }
    out << Plural(removed, "document", "documents") << " removed\n";
    return missing ? kScanSkippedStatus : 0;
}

int RunIndexList(const std::string& location, std::ostream& out) {
    const std::unique_ptr<TIndexStore> store = OpenIndexStore(location, TIndexOpen::Existing);
    out << "  Words  Path\n";
    for (const TIndexedDocument& document : store->List()) {
        char words[32];
        std::snprintf(words, sizeof words, "%7lld  ", static_cast<long long>(document.Words));
        out << words << Printable(document.Path) << "\n";
    }
    return 0;
}

int RunIndexStats(const std::string& location, std::ostream& out) {
    const std::unique_ptr<TIndexStore> store = OpenIndexStore(location, TIndexOpen::Existing);
    const TIndexStats stats = store->Stats();
    char size[64];
    std::snprintf(size, sizeof size, "%.1f MB", static_cast<double>(stats.Bytes) / (1024.0 * 1024.0));
    out << "Documents: " << stats.Documents << "\nWords: " << stats.Words << "\nFingerprints: "
        << stats.Fingerprints << "\nSize on disk: " << size << " (" << stats.Bytes << " bytes)\n"
        << "Every document sharing a run of " << kGuaranteeWords << " words or more is found.\n";
    return 0;
}

int RunCheck(const TScanRequest& request, const std::string& location, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<TIndexStore> store = OpenIndexStore(location, TIndexOpen::Existing);
    std::vector<std::string> paths;
    if (request.Options.MinLength < kGuaranteeWords) {
        err << "rasp: note: --min " << request.Options.MinLength << " is below the " << kGuaranteeWords
            << " words the index guarantees; comparing every indexed document\n";
        for (const TIndexedDocument& document : store->List()) paths.push_back(document.Path);
    } else {
        paths = store->Candidates(FingerprintArticle(request.ArticleText).Hashes);
    }
    // As in a scan, the article itself is left out where the archive holds it.
    struct stat article {};
    const bool articleKnown = ::stat(request.ArticlePath.c_str(), &article) == 0;
    TScanFiles files;
    for (const std::string& path : paths) {
        struct stat info {};
        if (articleKnown && ::stat(path.c_str(), &info) == 0 && info.st_dev == article.st_dev &&
            info.st_ino == article.st_ino)
            continue;
        files.Files.push_back({path, IsScanDocumentName(path)});
    }
    return RunScanFiles(request, files, out, err);
}

}  // namespace rasp
