#include "index/IndexStore.h"

#include "index/PostgresIndexStore.h"
#include "index/SqliteIndexStore.h"

namespace rasp {

std::unique_ptr<TIndexStore> OpenIndexStore(const std::string& location, TIndexOpen mode) {
    if (location.empty()) throw EIndexError("--index needs a file name or a postgresql:// address");
    if (location.starts_with("postgresql://") || location.starts_with("postgres://"))
        return OpenPostgresIndex(location, mode);
    return OpenSqliteIndex(location, mode);
}

}  // namespace rasp
