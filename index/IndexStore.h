#pragma once
// Where the archive index keeps its documents and fingerprints. A document
// is known by its path; replacing or removing one is all or nothing, so an
// interrupted `add` leaves the index as it was before that document.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace rasp {

// The index cannot be used as asked (not an index, newer format, read-only,
// corrupt, server down): one line for the user, exit status 2.
class EIndexError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bumped whenever the stored layout or the fingerprints change.
inline constexpr int kIndexFormatVersion = 1;

struct TDocumentStamp {
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::uint64_t ContentHash = 0;
    bool operator==(const TDocumentStamp&) const = default;
};

struct TIndexedDocument {
    std::string Path;
    TDocumentStamp Stamp;
    std::int64_t Words = 0;
    std::int64_t Fingerprints = 0;
};

struct TIndexStats {
    std::int64_t Documents = 0;
    std::int64_t Words = 0;
    std::int64_t Fingerprints = 0;  // stored (fingerprint, document) pairs
    std::int64_t Bytes = 0;         // on disk
};

class TIndexStore {
public:
    virtual ~TIndexStore() = default;

    virtual std::optional<TIndexedDocument> Find(const std::string& path) = 0;
    // Adds the document or replaces the one of the same path, with its
    // fingerprints (sorted, each once), in one transaction.
    virtual void Put(const TIndexedDocument& document, const std::vector<std::uint32_t>& fingerprints) = 0;
    virtual bool Remove(const std::string& path) = 0;
    virtual std::vector<TIndexedDocument> List() = 0;  // by path
    // The paths of the documents that hold at least one of `fingerprints`, by path.
    virtual std::vector<std::string> Candidates(const std::vector<std::uint32_t>& fingerprints) = 0;
    virtual TIndexStats Stats() = 0;
};

enum class TIndexOpen {
    CreateIfMissing,  // `add`: a new index is made where none is
    Existing,         // every other command
};

// "postgresql://..." or "postgres://..." names a server, anything else an
// SQLite file.
std::unique_ptr<TIndexStore> OpenIndexStore(const std::string& location, TIndexOpen mode);

}  // namespace rasp
