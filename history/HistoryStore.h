// The history of memos and line messages this computer received and sent, kept in an SQLite file that other
// processes may read while this one writes. It starts no thread and sets no timer: it works only when called.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "history/HistoryEntry.h"
#include "history/HistoryFile.h"
#include "history/HistoryResult.h"
#include "history/SqliteConnection.h"
#include "history/SqliteStatement.h"

class THistoryStore {
public:
    /// Opens the history at `path` (DefaultHistoryPath() normally), to write or only to read (see
    /// OpenHistoryFile); Opened() says how that went.
    explicit THistoryStore(const std::filesystem::path& path, THistoryAccess access = THistoryAccess::Write);

    const THistoryOpenResult& Opened() const { return OpenResult; }

    /// Keeps `entries` in one transaction: all of them, with consecutive ids from FirstId on, or, with the
    /// reason, none.
    THistoryAdded Add(std::span<const THistoryEntry> entries);
    /// Newest first, skipping `offset`.
    THistoryRows Recent(int limit, int offset = 0, const THistoryFilter& filter = {});
    /// The newest entries whose text holds every word of `words` (case and accents ignored).
    THistoryRows Search(std::string_view words, int limit, const THistoryFilter& filter = {});
    /// Removes what was received or sent more than `days` days before `now`; 0 keeps everything.
    THistoryResult RemoveOlderThan(int days, std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

private:
    THistoryRows Read(TSqliteStatement& query, int limitIndex, int limit);
    THistoryResult Refused() const;

    TSqliteConnection Db;
    THistoryOpenResult OpenResult;
    TSqliteStatement Insert;
};
