#pragma once
// The files a collection scan compares: every file under the given files
// and folders (recursively, symbolic links followed), each once, in name
// order, with what had to be left out and why.

#include <string>
#include <vector>

namespace rasp {

struct TScanFile {
    std::string Path;
    bool Document = false;  // .doc, .docx, .odt: read through the word processor
};

struct TScanProblem {
    std::string Path;
    std::string Reason;
};

struct TScanFiles {
    std::vector<TScanFile> Files;
    std::vector<TScanProblem> Skipped;  // could not be read: the scan says so in its exit status
    std::vector<TScanProblem> Notes;    // left out on purpose (other file types, the article itself)
};

// The article file kinds a scan reads, by their lower-cased extension.
bool IsScanTextName(const std::string& path);      // .txt, .rtf
bool IsScanDocumentName(const std::string& path);  // .doc, .docx, .odt

// `article` is left out where it turns up in the collection.
TScanFiles CollectScanFiles(const std::vector<std::string>& paths, const std::string& article);

}  // namespace rasp
