#include "index/SqliteIndexStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "index/WordRunFingerprints.h"

namespace rasp {

namespace {

constexpr const char* kFormatName = "tellivo-rasp-index";

struct TCloseDb {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
struct TFinalize {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using TDb = std::unique_ptr<sqlite3, TCloseDb>;
using TStatement = std::unique_ptr<sqlite3_stmt, TFinalize>;

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::int64_t FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

bool HasSqliteHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[16] = {};
    in.read(header, sizeof header);
    return in.gcount() == 16 && std::memcmp(header, "SQLite format 3", 16) == 0;
}

class TSqliteIndexStore final : public TIndexStore {
public:
    TSqliteIndexStore(std::string path, TIndexOpen mode) : FPath(std::move(path)) {
        const bool exists = FileExists(FPath);
        if (!exists && mode == TIndexOpen::Existing) throw EIndexError("no index at '" + FPath + "'");
        if (exists && !HasSqliteHeader(FPath))
            throw EIndexError("'" + FPath + "' is not a rasp index (left untouched)");
        FWritable = !exists || ::access(FPath.c_str(), W_OK) == 0;
        if (mode == TIndexOpen::CreateIfMissing && !FWritable)
            throw EIndexError("the index '" + FPath + "' is read-only");
        OpenConnection(exists ? (FWritable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY)
                              : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (exists && !FWritable) {
            try {
                CheckFormat();
            } catch (const EIndexError&) {
                // A WAL index in a folder we cannot write has no shared-memory
                // file to open; read it as a file that does not change.
                if (FLastCode != SQLITE_READONLY && FLastCode != SQLITE_CANTOPEN) throw;
                FDb.reset();
                OpenConnection(SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, "file:" + UriPath(FPath) + "?immutable=1");
                CheckFormat();
            }
        } else if (exists) {
            CheckFormat();
        } else {
            Exec("PRAGMA journal_mode=WAL");
            CreateSchema();
        }
        if (FWritable) Exec("PRAGMA journal_mode=WAL");
        Exec("PRAGMA synchronous=NORMAL");
        // Fingerprint rows land all over their table: a large cache and
        // rarer checkpoints keep an add from rewriting the same pages.
        Exec("PRAGMA cache_size=-131072");
        Exec("PRAGMA wal_autocheckpoint=16384");
    }

    std::optional<TIndexedDocument> Find(const std::string& path) override {
        TStatement s = Prepare("SELECT path,size,modified,content_hash,words,length(fingerprints)/4 "
                               "FROM documents WHERE path=?");
        BindText(s, 1, path);
        if (Step(s) != SQLITE_ROW) return std::nullopt;
        return RowDocument(s.get());
    }

    void Put(const TIndexedDocument& document, const std::vector<std::uint32_t>& fingerprints) override {
        TTransaction transaction(*this);
        DeleteDocument(document.Path);
        std::string blob(fingerprints.size() * 4, '\0');
        for (std::size_t k = 0; k < fingerprints.size(); ++k) std::memcpy(&blob[k * 4], &fingerprints[k], 4);
        TStatement insert = Prepare("INSERT INTO documents(path,size,modified,content_hash,words,fingerprints) "
                                    "VALUES(?,?,?,?,?,?)");
        BindText(insert, 1, document.Path);
        Check(sqlite3_bind_int64(insert.get(), 2, document.Stamp.Size));
        Check(sqlite3_bind_int64(insert.get(), 3, document.Stamp.ModifiedNs));
        Check(sqlite3_bind_int64(insert.get(), 4, static_cast<sqlite3_int64>(document.Stamp.ContentHash)));
        Check(sqlite3_bind_int64(insert.get(), 5, document.Words));
        Check(sqlite3_bind_blob(insert.get(), 6, blob.data(), static_cast<int>(blob.size()), SQLITE_STATIC));
        StepDone(insert);
        const sqlite3_int64 id = sqlite3_last_insert_rowid(FDb.get());
        TStatement fp = Prepare("INSERT OR IGNORE INTO fingerprints(hash,document) VALUES(?,?)");
        for (const std::uint32_t hash : fingerprints) {
            Check(sqlite3_bind_int64(fp.get(), 1, static_cast<std::int32_t>(hash)));
            Check(sqlite3_bind_int64(fp.get(), 2, id));
            StepDone(fp);
            sqlite3_reset(fp.get());
        }
        transaction.Commit();
    }

    bool Remove(const std::string& path) override {
        TTransaction transaction(*this);
        const bool removed = DeleteDocument(path);
        transaction.Commit();
        return removed;
    }

    std::vector<TIndexedDocument> List() override {
        TStatement s = Prepare("SELECT path,size,modified,content_hash,words,length(fingerprints)/4 "
                               "FROM documents ORDER BY path");
        std::vector<TIndexedDocument> documents;
        while (Step(s) == SQLITE_ROW) documents.push_back(RowDocument(s.get()));
        return documents;
    }

    std::vector<std::string> Candidates(const std::vector<std::uint32_t>& fingerprints) override {
        // One read transaction: a document being replaced meanwhile is seen
        // either before or after.
        Exec("BEGIN");
        try {
            std::set<sqlite3_int64> ids;
            TStatement s = Prepare("SELECT document FROM fingerprints WHERE hash=?");
            for (const std::uint32_t hash : fingerprints) {
                Check(sqlite3_bind_int64(s.get(), 1, static_cast<std::int32_t>(hash)));
                while (Step(s) == SQLITE_ROW) ids.insert(sqlite3_column_int64(s.get(), 0));
                sqlite3_reset(s.get());
            }
            std::vector<std::string> paths;
            TStatement p = Prepare("SELECT path FROM documents WHERE id=?");
            for (const sqlite3_int64 id : ids) {
                Check(sqlite3_bind_int64(p.get(), 1, id));
                if (Step(p) == SQLITE_ROW) paths.push_back(ColumnText(p.get(), 0));
                sqlite3_reset(p.get());
            }
            Exec("COMMIT");
            std::sort(paths.begin(), paths.end());
            return paths;
        } catch (...) {
            sqlite3_exec(FDb.get(), "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    TIndexStats Stats() override {
        TIndexStats stats;
        TStatement s = Prepare("SELECT count(*),total(words),total(length(fingerprints)/4) FROM documents");
        if (Step(s) == SQLITE_ROW) {
            stats.Documents = sqlite3_column_int64(s.get(), 0);
            stats.Words = static_cast<std::int64_t>(sqlite3_column_double(s.get(), 1));
            stats.Fingerprints = static_cast<std::int64_t>(sqlite3_column_double(s.get(), 2));
        }
        stats.Bytes = FileSize(FPath) + FileSize(FPath + "-wal");
        return stats;
    }

private:
    class TTransaction {
    public:
        explicit TTransaction(TSqliteIndexStore& store) : FStore(store) {
            if (!FStore.FWritable) throw EIndexError("the index '" + FStore.FPath + "' is read-only");
            FStore.Exec("BEGIN IMMEDIATE");
        }
        ~TTransaction() {
            if (!FDone) sqlite3_exec(FStore.FDb.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
        TTransaction(const TTransaction&) = delete;
        TTransaction& operator=(const TTransaction&) = delete;
        void Commit() {
            FStore.Exec("COMMIT");
            FDone = true;
        }

    private:
        TSqliteIndexStore& FStore;
        bool FDone = false;
    };

    static std::string UriPath(const std::string& path) {
        std::string out;
        for (const char c : path) {
            if (c == '%' || c == '?' || c == '#') {
                char escaped[4];
                std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
        return out;
    }

    void OpenConnection(int flags, const std::string& name = {}) {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(name.empty() ? FPath.c_str() : name.c_str(), &raw, flags, nullptr);
        FDb.reset(raw);
        if (rc != SQLITE_OK) Fail(rc);
        sqlite3_busy_timeout(FDb.get(), 10000);
        sqlite3_extended_result_codes(FDb.get(), 0);
    }

    void CreateSchema() {
        TTransaction transaction(*this);
        Exec("CREATE TABLE rasp_index_meta(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID");
        Exec("CREATE TABLE documents(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE, size INTEGER NOT NULL, "
             "modified INTEGER NOT NULL, content_hash INTEGER NOT NULL, words INTEGER NOT NULL, "
             "fingerprints BLOB NOT NULL)");
        Exec("CREATE TABLE fingerprints(hash INTEGER NOT NULL, document INTEGER NOT NULL, "
             "PRIMARY KEY(hash, document)) WITHOUT ROWID");
        Exec(std::string("INSERT INTO rasp_index_meta VALUES('format','") + kFormatName + "'),('version','" +
             std::to_string(kIndexFormatVersion) + "'),('gram_words','" + std::to_string(kGramWords) +
             "'),('winnow_window','" + std::to_string(kWinnowWindow) + "')");
        transaction.Commit();
    }

    void CheckFormat() {
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(FDb.get(),
                                          "SELECT (SELECT value FROM rasp_index_meta WHERE key='format'),"
                                          "(SELECT value FROM rasp_index_meta WHERE key='version')",
                                          -1, &raw, nullptr);
        TStatement s(raw);
        if (rc == SQLITE_ERROR) throw EIndexError("'" + FPath + "' is not a rasp index (left untouched)");
        if (rc != SQLITE_OK) Fail(rc);
        if (Step(s) != SQLITE_ROW || ColumnText(s.get(), 0) != kFormatName)
            throw EIndexError("'" + FPath + "' is not a rasp index (left untouched)");
        const int version = sqlite3_column_int(s.get(), 1);
        if (version > kIndexFormatVersion)
            throw EIndexError("the index '" + FPath + "' has format " + std::to_string(version) +
                              ", newer than this rasp reads (" + std::to_string(kIndexFormatVersion) + ")");
        if (version < 1) throw EIndexError("'" + FPath + "' is not a rasp index (left untouched)");
    }

    bool DeleteDocument(const std::string& path) {
        TStatement s = Prepare("SELECT id,fingerprints FROM documents WHERE path=?");
        BindText(s, 1, path);
        if (Step(s) != SQLITE_ROW) return false;
        const sqlite3_int64 id = sqlite3_column_int64(s.get(), 0);
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(s.get(), 1));
        const std::size_t count = static_cast<std::size_t>(sqlite3_column_bytes(s.get(), 1)) / 4;
        TStatement del = Prepare("DELETE FROM fingerprints WHERE hash=? AND document=?");
        for (std::size_t k = 0; k < count; ++k) {
            std::uint32_t hash = 0;
            std::memcpy(&hash, bytes + k * 4, 4);
            Check(sqlite3_bind_int64(del.get(), 1, static_cast<std::int32_t>(hash)));
            Check(sqlite3_bind_int64(del.get(), 2, id));
            StepDone(del);
            sqlite3_reset(del.get());
        }
        s.reset();
        TStatement row = Prepare("DELETE FROM documents WHERE id=?");
        Check(sqlite3_bind_int64(row.get(), 1, id));
        StepDone(row);
        return true;
    }

    static std::string ColumnText(sqlite3_stmt* s, int column) {
        const auto* text = sqlite3_column_text(s, column);
        return text ? std::string(reinterpret_cast<const char*>(text),
                                  static_cast<std::size_t>(sqlite3_column_bytes(s, column)))
                    : std::string();
    }

    static TIndexedDocument RowDocument(sqlite3_stmt* s) {
        TIndexedDocument d;
        d.Path = ColumnText(s, 0);
        d.Stamp.Size = sqlite3_column_int64(s, 1);
        d.Stamp.ModifiedNs = sqlite3_column_int64(s, 2);
        d.Stamp.ContentHash = static_cast<std::uint64_t>(sqlite3_column_int64(s, 3));
        d.Words = sqlite3_column_int64(s, 4);
        d.Fingerprints = sqlite3_column_int64(s, 5);
        return d;
    }

    [[noreturn]] void Fail(int rc) {
        FLastCode = rc & 0xFF;
        const std::string detail = FDb ? sqlite3_errmsg(FDb.get()) : sqlite3_errstr(rc);
        switch (rc & 0xFF) {
            case SQLITE_FULL: throw EIndexError("the disk holding the index '" + FPath + "' is full");
            case SQLITE_READONLY: throw EIndexError("the index '" + FPath + "' is read-only");
            case SQLITE_CORRUPT:
            case SQLITE_NOTADB:
                throw EIndexError("the index '" + FPath + "' is damaged (" + detail + ")");
            case SQLITE_IOERR:
                throw EIndexError("the index '" + FPath + "' could not be read or written (" + detail +
                                  "; is the disk full?)");
            case SQLITE_BUSY: throw EIndexError("the index '" + FPath + "' is locked by another process");
            default: throw EIndexError("index '" + FPath + "': " + detail);
        }
    }

    void Check(int rc) {
        if (rc != SQLITE_OK) Fail(rc);
    }

    void Exec(const std::string& sql) {
        const int rc = sqlite3_exec(FDb.get(), sql.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) Fail(rc);
    }

    TStatement Prepare(const char* sql) {
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(FDb.get(), sql, -1, &raw, nullptr);
        TStatement statement(raw);
        if (rc != SQLITE_OK) Fail(rc);
        return statement;
    }

    void BindText(const TStatement& s, int index, const std::string& text) {
        Check(sqlite3_bind_text(s.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT));
    }

    int Step(const TStatement& s) {
        const int rc = sqlite3_step(s.get());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail(rc);
        return rc;
    }
    void StepDone(const TStatement& s) { Step(s); }

    std::string FPath;
    TDb FDb;
    bool FWritable = true;
    int FLastCode = SQLITE_OK;
};

}  // namespace

std::unique_ptr<TIndexStore> OpenSqliteIndex(const std::string& path, TIndexOpen mode) {
    return std::make_unique<TSqliteIndexStore>(path, mode);
}

}  // namespace rasp
