#pragma once
// The embedded index: one SQLite file in WAL mode, so that readers go on
// while one process adds. A file that is not an index, or of a newer
// format, is refused before anything is written to it.

#include <memory>
#include <string>

#include "index/IndexStore.h"

namespace rasp {

std::unique_ptr<TIndexStore> OpenSqliteIndex(const std::string& path, TIndexOpen mode);

}  // namespace rasp
