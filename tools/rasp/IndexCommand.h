#pragma once
// `rasp index add|remove|list|stats DB ...` and `rasp check ARTICLE --index
// DB`: an archive kept as fingerprints, so that one article is compared
// exactly only with the documents that share a word run with it.
//
// Exit status as for `scan`: 0 done, 3 done but files were skipped (or, for
// `remove`, not in the index), 2 bad usage or an index that cannot be used,
// 1 an unexpected failure. Index errors throw EIndexError.

#include <ostream>
#include <string>
#include <vector>

#include "tools/rasp/ScanCommand.h"

namespace rasp {

int RunIndexAdd(const std::string& location, const std::vector<std::string>& paths, std::ostream& out,
                std::ostream& err);
int RunIndexRemove(const std::string& location, const std::vector<std::string>& paths, std::ostream& out,
                   std::ostream& err);
int RunIndexList(const std::string& location, std::ostream& out);
int RunIndexStats(const std::string& location, std::ostream& out);

// `request.Paths` is not read: the documents come from the index. With
// request.Options.MinLength below the index's guarantee every indexed
// document is compared, with a note on err.
int RunCheck(const TScanRequest& request, const std::string& location, std::ostream& out, std::ostream& err);

// How a document is known in the index: its absolute path, without "." and
// ".." parts.
std::string IndexedPath(const std::string& path);

}  // namespace rasp
