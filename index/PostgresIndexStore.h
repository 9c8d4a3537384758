#pragma once
// The shared index on a PostgreSQL server, for a team working on one
// archive: the same documents and fingerprints as the SQLite file, in three
// tables (rasp_index_meta, rasp_documents, rasp_fingerprints). Fingerprint
// rows are keyed by hash first, so that a distributed PostgreSQL can shard
// them by hash and the documents by id.

#include <memory>
#include <string>

#include "index/IndexStore.h"

namespace rasp {

// `address` is a libpq connection URI (postgresql://...). A server that is
// down or refuses gives an EIndexError with libpq's reason.
std::unique_ptr<TIndexStore> OpenPostgresIndex(const std::string& address, TIndexOpen mode);

}  // namespace rasp
