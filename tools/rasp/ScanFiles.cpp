#include "tools/rasp/ScanFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace rasp {

namespace {

using TFileId = std::pair<dev_t, ino_t>;

std::string Extension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

class TWalker {
public:
    TWalker(TScanFiles& result, const std::string& article) : FResult(result) {
        struct stat info {};
        if (::stat(article.c_str(), &info) == 0) FArticle = {info.st_dev, info.st_ino};
    }

    void Visit(const std::string& path) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            const int error = errno;
            struct stat link {};
            if (error == ELOOP) Skip(path, "symbolic link loop");
            else if (error == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
                Skip(path, "broken symbolic link");
            else Skip(path, std::strerror(error));
            return;
        }
        const TFileId id{info.st_dev, info.st_ino};
        if (S_ISDIR(info.st_mode)) {
            if (const auto a = std::find_if(FAncestors.begin(), FAncestors.end(),
                                            [&](const auto& entry) { return entry.first == id; });
                a != FAncestors.end()) {
                Skip(path, "symbolic link loop (leads back to '" + a->second + "')");
                return;
            }
            if (!FFolders.insert(id).second) return;  // reached before through another link
            VisitFolder(path, id);
            return;
        }
        if (!S_ISREG(info.st_mode)) {
            Skip(path, "not an ordinary file");
            return;
        }
        if (!IsScanTextName(path) && !IsScanDocumentName(path)) {
            FResult.Notes.push_back({path, "not a .txt, .rtf, .doc, .docx or .odt file"});
            return;
        }
        if (id == FArticle) {
            FResult.Notes.push_back({path, "the article itself"});
            return;
        }
        if (!FFiles.insert(id).second) return;  // the same file under another name
        FResult.Files.push_back({path, IsScanDocumentName(path)});
    }

private:
    void VisitFolder(const std::string& path, const TFileId& id) {
        DIR* folder = ::opendir(path.c_str());
        if (folder == nullptr) {
            Skip(path, std::strerror(errno));
            return;
        }
        std::vector<std::string> names;
        errno = 0;
        while (const dirent* entry = ::readdir(folder)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        const int error = errno;
        ::closedir(folder);
        if (error != 0) Skip(path, std::strerror(error));
        std::sort(names.begin(), names.end());
        FAncestors.emplace_back(id, path);
        for (const std::string& name : names) Visit(Join(path, name));
        FAncestors.pop_back();
    }

    void Skip(const std::string& path, std::string reason) { FResult.Skipped.push_back({path, std::move(reason)}); }

    TScanFiles& FResult;
    TFileId FArticle{0, 0};
    std::vector<std::pair<TFileId, std::string>> FAncestors;
    std::set<TFileId> FFolders;
    std::set<TFileId> FFiles;
};

}  // namespace

bool IsScanTextName(const std::string& path) {
    const std::string e = Extension(path);
    return e == ".txt" || e == ".rtf";
}

bool IsScanDocumentName(const std::string& path) {
    const std::string e = Extension(path);
    return e == ".doc" || e == ".docx" || e == ".odt";
}

TScanFiles CollectScanFiles(const std::vector<std::string>& paths, const std::string& article) {
    TScanFiles result;
    TWalker walker(result, article);
    for (const std::string& path : paths) walker.Visit(path);
    return result;
}

}  // namespace rasp
