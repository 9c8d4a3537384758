#include "index/PostgresIndexStore.h"

#include <libpq-fe.h>

#include <algorithm>

#include "index/WordRunFingerprints.h"

namespace rasp {

namespace {

struct TFinishConnection {
    void operator()(PGconn* connection) const noexcept { PQfinish(connection); }
};
struct TClearResult {
    void operator()(PGresult* result) const noexcept { PQclear(result); }
};
using TConnection = std::unique_ptr<PGconn, TFinishConnection>;
using TResult = std::unique_ptr<PGresult, TClearResult>;

constexpr const char* kFormatName = "tellivo-rasp-index";

// libpq's messages run over several lines; the user gets the first.
std::string FirstLine(const char* message) {
    std::string text = message ? message : "";
    if (const auto end = text.find('\n'); end != std::string::npos) text.resize(end);
    return text.empty() ? "no answer" : text;
}

std::string ArrayLiteral(const std::vector<std::uint32_t>& hashes) {
    std::string literal = "{";
    for (std::size_t k = 0; k < hashes.size(); ++k) {
        if (k) literal += ',';
        literal += std::to_string(static_cast<std::int32_t>(hashes[k]));
    }
    return literal + "}";
}

class TPostgresIndexStore final : public TIndexStore {
public:
    TPostgresIndexStore(const std::string& address, TIndexOpen mode) {
        FConnection.reset(PQconnectdb(address.c_str()));
        if (!FConnection || PQstatus(FConnection.get()) != CONNECTION_OK)
            throw EIndexError("cannot use the index server: " +
                              FirstLine(FConnection ? PQerrorMessage(FConnection.get()) : "out of memory"));
        Run("SET client_min_messages TO warning");
        TResult exists = Run("SELECT to_regclass('rasp_index_meta') IS NOT NULL");
        if (std::string(PQgetvalue(exists.get(), 0, 0)) == "t") {
            CheckFormat();
        } else if (mode == TIndexOpen::Existing) {
            throw EIndexError("the database holds no rasp index");
        } else {
            CreateSchema();
        }
    }

    std::optional<TIndexedDocument> Find(const std::string& path) override {
        TResult r = Run("SELECT path,size,modified,content_hash,words,fingerprint_count FROM rasp_documents "
                        "WHERE path=$1",
                        {path});
        if (PQntuples(r.get()) == 0) return std::nullopt;
        return RowDocument(r.get(), 0);
    }

    void Put(const TIndexedDocument& d, const std::vector<std::uint32_t>& fingerprints) override {
        TTransaction transaction(*this);
        DeleteDocument(d.Path);
        const std::string hashes = ArrayLiteral(fingerprints);
        TResult id = Run("INSERT INTO rasp_documents(path,size,modified,content_hash,words,fingerprint_count,"
                         "fingerprints) VALUES($1,$2,$3,$4,$5,$6,$7::integer[]) RETURNING id",
                         {d.Path, std::to_string(d.Stamp.Size), std::to_string(d.Stamp.ModifiedNs),
                          std::to_string(static_cast<std::int64_t>(d.Stamp.ContentHash)), std::to_string(d.Words),
                          std::to_string(fingerprints.size()), hashes});
        Run("INSERT INTO rasp_fingerprints(hash,document) SELECT unnest($1::integer[]),$2 ON CONFLICT DO NOTHING",
            {hashes, PQgetvalue(id.get(), 0, 0)});
        transaction.Commit();
    }

    bool Remove(const std::string& path) override {
        TTransaction transaction(*this);
        const bool removed = DeleteDocument(path);
        transaction.Commit();
        return removed;
    }

    std::vector<TIndexedDocument> List() override {
        TResult r = Run("SELECT path,size,modified,content_hash,words,fingerprint_count FROM rasp_documents "
                        "ORDER BY path COLLATE \"C\"");
        std::vector<TIndexedDocument> documents;
        for (int row = 0; row < PQntuples(r.get()); ++row) documents.push_back(RowDocument(r.get(), row));
        return documents;
    }

    std::vector<std::string> Candidates(const std::vector<std::uint32_t>& fingerprints) override {
        TResult r = Run("SELECT DISTINCT d.path COLLATE \"C\" FROM rasp_fingerprints f "
                        "JOIN rasp_documents d ON d.id=f.document WHERE f.hash=ANY($1::integer[]) ORDER BY 1",
                        {ArrayLiteral(fingerprints)});
        std::vector<std::string> paths;
        for (int row = 0; row < PQntuples(r.get()); ++row) paths.emplace_back(PQgetvalue(r.get(), row, 0));
        return paths;
    }

    TIndexStats Stats() override {
        TResult r = Run("SELECT count(*),coalesce(sum(words),0),coalesce(sum(fingerprint_count),0),"
                        "pg_total_relation_size('rasp_documents')+pg_total_relation_size('rasp_fingerprints')+"
                        "pg_total_relation_size('rasp_index_meta') FROM rasp_documents");
        TIndexStats stats;
        stats.Documents = std::stoll(PQgetvalue(r.get(), 0, 0));
        stats.Words = std::stoll(PQgetvalue(r.get(), 0, 1));
        stats.Fingerprints = std::stoll(PQgetvalue(r.get(), 0, 2));
        stats.Bytes = std::stoll(PQgetvalue(r.get(), 0, 3));
        return stats;
    }

private:
    class TTransaction {
    public:
        explicit TTransaction(TPostgresIndexStore& store) : FStore(store) { FStore.Run("BEGIN"); }
        ~TTransaction() {
            if (!FDone) PQclear(PQexec(FStore.FConnection.get(), "ROLLBACK"));
        }
        TTransaction(const TTransaction&) = delete;
        TTransaction& operator=(const TTransaction&) = delete;
        void Commit() {
            FStore.Run("COMMIT");
            FDone = true;
        }

    private:
        TPostgresIndexStore& FStore;
        bool FDone = false;
    };

    void CreateSchema() {
        TTransaction transaction(*this);
        // Two processes making the index at once: the second waits, then finds it.
        Run("SELECT pg_advisory_xact_lock(7210531)");
        TResult exists = Run("SELECT to_regclass('rasp_index_meta') IS NOT NULL");
        if (std::string(PQgetvalue(exists.get(), 0, 0)) != "t") {
            Run("CREATE TABLE rasp_index_meta(key text PRIMARY KEY, value text NOT NULL)");
            Run("CREATE TABLE rasp_documents(id bigserial PRIMARY KEY, path text NOT NULL UNIQUE, size bigint NOT "
                "NULL, modified bigint NOT NULL, content_hash bigint NOT NULL, words bigint NOT NULL, "
                "fingerprint_count integer NOT NULL, fingerprints integer[] NOT NULL)");
            Run("CREATE TABLE rasp_fingerprints(hash integer NOT NULL, document bigint NOT NULL, "
                "PRIMARY KEY(hash, document))");
            Run("INSERT INTO rasp_index_meta VALUES('format',$1),('version',$2),('gram_words',$3),"
                "('winnow_window',$4)",
                {kFormatName, std::to_string(kIndexFormatVersion), std::to_string(kGramWords),
                 std::to_string(kWinnowWindow)});
        }
        transaction.Commit();
    }

    void CheckFormat() {
        TResult r = Run("SELECT (SELECT value FROM rasp_index_meta WHERE key='format'),"
                        "(SELECT value FROM rasp_index_meta WHERE key='version')");
        if (std::string(PQgetvalue(r.get(), 0, 0)) != kFormatName)
            throw EIndexError("the database's rasp_index_meta is not a rasp index (left untouched)");
        const int version = std::atoi(PQgetvalue(r.get(), 0, 1));
        if (version > kIndexFormatVersion)
            throw EIndexError("the index has format " + std::to_string(version) + ", newer than this rasp reads (" +
                              std::to_string(kIndexFormatVersion) + ")");
    }

    bool DeleteDocument(const std::string& path) {
        TResult r = Run("SELECT id,fingerprints FROM rasp_documents WHERE path=$1 FOR UPDATE", {path});
        if (PQntuples(r.get()) == 0) return false;
        const std::string id = PQgetvalue(r.get(), 0, 0);
        // By hash and document, so that a sharded table is reached by its key.
        Run("DELETE FROM rasp_fingerprints WHERE hash=ANY($1::integer[]) AND document=$2",
            {PQgetvalue(r.get(), 0, 1), id});
        Run("DELETE FROM rasp_documents WHERE id=$1", {id});
        return true;
    }

    static TIndexedDocument RowDocument(PGresult* r, int row) {
        TIndexedDocument d;
        d.Path = PQgetvalue(r, row, 0);
        d.Stamp.Size = std::stoll(PQgetvalue(r, row, 1));
        d.Stamp.ModifiedNs = std::stoll(PQgetvalue(r, row, 2));
        d.Stamp.ContentHash = static_cast<std::uint64_t>(std::stoll(PQgetvalue(r, row, 3)));
        d.Words = std::stoll(PQgetvalue(r, row, 4));
        d.Fingerprints = std::stoll(PQgetvalue(r, row, 5));
        return d;
    }

    TResult Run(const std::string& sql, const std::vector<std::string>& parameters = {}) {
        std::vector<const char*> values;
        for (const std::string& p : parameters) values.push_back(p.c_str());
        TResult result(PQexecParams(FConnection.get(), sql.c_str(), static_cast<int>(values.size()), nullptr,
                                    values.data(), nullptr, nullptr, 0));
        const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw EIndexError("index server: " + FirstLine(PQerrorMessage(FConnection.get())));
        return result;
    }

    TConnection FConnection;
};

}  // namespace

std::unique_ptr<TIndexStore> OpenPostgresIndex(const std::string& address, TIndexOpen mode) {
    return std::make_unique<TPostgresIndexStore>(address, mode);
}

}  // namespace rasp
