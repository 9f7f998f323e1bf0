// The history's writes, each batch one transaction, and its reads, newest first.
#include "history/HistoryStore.h"

#include <sqlite3.h>

#include "history/HistoryFile.h"
#include "history/SearchWords.h"

namespace {

constexpr std::string_view Columns =
    "message.id, received_ms, sender_time, direction, kind, computer_bytes, computer, message.text, bytes";

THistoryEntry EntryAt(const TSqliteStatement& row) {
    return {row.Integer(0), row.Integer(1), row.Text(2), static_cast<THistoryDirection>(row.Integer(3)),
            static_cast<THistoryKind>(row.Integer(4)), row.Blob(5), row.Text(6), row.Text(7), row.Blob(8)};
}

bool BindEntry(TSqliteStatement& insert, const THistoryEntry& entry) {
    return insert.Bind(1, entry.ReceivedMs) && insert.BindText(2, entry.SenderTime) &&
           insert.Bind(3, static_cast<std::int64_t>(entry.Direction)) &&
           insert.Bind(4, static_cast<std::int64_t>(entry.Kind)) && insert.BindBlob(5, entry.ComputerBytes) &&
           insert.BindText(6, entry.Computer) && insert.BindText(7, entry.Text) && insert.BindBlob(8, entry.Bytes);
}

/// The filter's conditions, numbered ?3 and ?4 after a query's own two.
std::string Conditions(const THistoryFilter& filter) {
    return std::string(filter.Computer ? "AND computer = ?3 " : "") + (filter.SinceMs ? "AND received_ms >= ?4 " : "");
}

bool BindFilter(TSqliteStatement& query, const THistoryFilter& filter) {
    return (!filter.Computer || query.BindText(3, *filter.Computer)) &&
           (!filter.SinceMs || query.Bind(4, *filter.SinceMs));
}

}  // namespace

THistoryStore::THistoryStore(const std::filesystem::path& path, THistoryAccess access) {
    THistoryFile file = OpenHistoryFile(path, access);
    Db = std::move(file.Db);
    OpenResult = std::move(file.Result);
}

THistoryResult THistoryStore::Refused() const {
    switch (OpenResult.State) {
        case THistoryOpenState::ReadOnlyNewer:
            return {"the history file was written by a newer Kestrin and is only read"};
        case THistoryOpenState::Failed:
            return {"no history file: " + OpenResult.Error};
        default:
            return {};
    }
}

THistoryAdded THistoryStore::Add(std::span<const THistoryEntry> entries) {
    if (THistoryResult refused = Refused(); !refused.Ok())
        return {refused, 0};
    if (!Insert) {
        Insert = TSqliteStatement(Db,
                                  "INSERT INTO message(received_ms, sender_time, direction, kind, computer_bytes, "
                                  "computer, text, bytes) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        if (!Insert)
            return {{Db.Error()}, 0};
    }
    if (std::string error = Db.Execute("BEGIN IMMEDIATE"); !error.empty())
        return {{error}, 0};
    THistoryAdded added;
    for (const THistoryEntry& entry : entries) {
        const bool stored = BindEntry(Insert, entry) && Insert.Step() == SQLITE_DONE;
        Insert.Reset();
        if (stored && added.FirstId == 0)
            added.FirstId = Db.LastInsertId();
        if (!stored) {
            const THistoryResult failed{Db.Error()};
            Db.Execute("ROLLBACK");  // an I/O error or a full disk may have rolled back already
            return {failed, 0};
        }
    }
    if (std::string error = Db.Execute("COMMIT"); !error.empty()) {
        Db.Execute("ROLLBACK");
        return {{error}, 0};
    }
    return added;
}

THistoryRows THistoryStore::Read(TSqliteStatement& query, int limitIndex, int limit) {
    THistoryRows rows;
    if (!query || !query.Bind(limitIndex, limit)) {
        rows.Error = Db.Error();
        return rows;
    }
    int rc = SQLITE_ROW;
    while ((rc = query.Step()) == SQLITE_ROW)
        rows.Entries.push_back(EntryAt(query));
    if (rc != SQLITE_DONE) {
        rows.Error = Db.Error();
        rows.Entries.clear();
    }
    return rows;
}

THistoryRows THistoryStore::Recent(int limit, int offset, const THistoryFilter& filter) {
    if (!Db)
        return {Refused(), {}};
    const std::string sql = std::string("SELECT ").append(Columns).append(" FROM message WHERE 1 ") +
                            Conditions(filter) + "ORDER BY id DESC LIMIT ?1 OFFSET ?2";
    TSqliteStatement query(Db, sql);
    if (query && !(query.Bind(2, offset) && BindFilter(query, filter)))
        return {{Db.Error()}, {}};
    return Read(query, 1, limit);
}

THistoryRows THistoryStore::Search(std::string_view words, int limit, const THistoryFilter& filter) {
    if (!Db)
        return {Refused(), {}};
    const std::string match = SearchWords(words);
    if (match.empty())
        return {};
    // The index walks its matches newest first and stops at the limit: no sorting of every match.
    const std::string sql = std::string("SELECT ").append(Columns) +
                            " FROM message_text JOIN message ON message.id = message_text.rowid "
                            "WHERE message_text MATCH ?2 " +
                            Conditions(filter) + "ORDER BY message_text.rowid DESC LIMIT ?1";
    TSqliteStatement query(Db, sql);
    if (query && !(query.BindText(2, match) && BindFilter(query, filter)))
        return {{Db.Error()}, {}};
    return Read(query, 1, limit);
}

THistoryResult THistoryStore::RemoveOlderThan(int days, std::chrono::system_clock::time_point now) {
    if (days <= 0)
        return {};
    if (THistoryResult refused = Refused(); !refused.Ok())
        return refused;
    const auto cutoff = std::chrono::duration_cast<std::chrono::milliseconds>(
        (now - std::chrono::days(days)).time_since_epoch());
    TSqliteStatement remove(Db, "DELETE FROM message WHERE received_ms < ?1");
    if (!remove || !remove.Bind(1, cutoff.count()) || remove.Step() != SQLITE_DONE)
        return {Db.Error()};
    return {};
}
