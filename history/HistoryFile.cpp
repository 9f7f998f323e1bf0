// Opening the history file and the faults found on the way.
#include "history/HistoryFile.h"

#include <sqlite3.h>

#include <string>
#include <system_error>

#include "history/DamagedName.h"
#include "history/HistorySchema.h"

namespace {

namespace fs = std::filesystem;

// A writer holds the file for the few milliseconds of one batch; a reader waiting longer than this has met
// something else (a copy stopped in a debugger) and says so instead of hanging.
constexpr int BusyWaitMs = 2000;

/// SQLite takes file names in UTF-8 everywhere; a path's string() is the ANSI code page's on Windows.
std::string Utf8(const fs::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

enum class TCheck { Sound, Damaged, Unreadable };

// Reads the schema only: a file that is no database, or whose first pages are broken, fails here at once. A
// full check reads every page (0.6 s for a million memos), too slow for every start; damage deeper in the
// file shows as a failed write or read, which is reported like any other.
TCheck Check(const TSqliteConnection& db, std::string& error) {
    db.QueryText("SELECT count(*) FROM sqlite_master", error);
    if (!error.empty())
        return db.Code() == SQLITE_NOTADB || db.Code() == SQLITE_CORRUPT ? TCheck::Damaged : TCheck::Unreadable;
    return TCheck::Sound;
}

/// Moves the file and its journal files aside: a new file must not replay an old write-ahead log.
std::string RenameAside(const fs::path& path, const fs::path& aside) {
    std::error_code fault;
    fs::rename(path, aside, fault);
    if (fault)
        return fault.message();
    for (const char* journal : {"-wal", "-shm"}) {
        fs::path from = path, to = aside;
        from += journal;
        to += journal;
        if (fs::exists(from, fault))
            fs::rename(from, to, fault);
    }
    return {};
}

THistoryFile Failed(std::string error) {
    THistoryFile file;
    file.Result.Error = std::move(error);
    return file;
}

/// Another process's view: the file as it is, never created, repaired or written.
THistoryFile OpenToRead(const fs::path& path) {
    THistoryFile file{TSqliteConnection(Utf8(path), SQLITE_OPEN_READONLY), {}};
    if (!file.Db || sqlite3_busy_timeout(file.Db.Get(), BusyWaitMs) != SQLITE_OK)
        return Failed("cannot open " + Utf8(path) + ": " + file.Db.Error());
    std::string error;
    if (Check(file.Db, error) != TCheck::Sound)
        return Failed("cannot read " + Utf8(path) + ": " + error);
    const std::string version = file.Db.QueryText("PRAGMA user_version", error);
    if (!error.empty())
        return Failed(error);
    file.Result.State = std::stoi(version) > HistorySchema::Version ? THistoryOpenState::ReadOnlyNewer
                                                                    : THistoryOpenState::Ready;
    return file;
}

THistoryFile Open(const fs::path& path, bool afterDamage) {
    std::error_code fault;
    fs::create_directories(path.parent_path(), fault);
    if (fault)
        return Failed("cannot create " + Utf8(path.parent_path()) + ": " + fault.message());
    const bool isNew = !fs::exists(path, fault);

    THistoryFile file{TSqliteConnection(Utf8(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), {}};
    if (!file.Db)
        return Failed("cannot open " + Utf8(path) + ": " + file.Db.Error());
    if (isNew) {
        // Only the user reads their messages; the journal files SQLite makes later copy this mode.
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fault);
        if (fault)
            return Failed("cannot protect " + Utf8(path) + ": " + fault.message());
    }
    if (sqlite3_busy_timeout(file.Db.Get(), BusyWaitMs) != SQLITE_OK)
        return Failed(file.Db.Error());

    std::string error;
    switch (Check(file.Db, error)) {
        case TCheck::Sound:
            break;
        case TCheck::Unreadable:
            return Failed("cannot read " + Utf8(path) + ": " + error);
        case TCheck::Damaged: {
            if (afterDamage)
                return Failed("a new history file is damaged at once: " + error);
            file.Db = {};
            const fs::path aside = DamagedName(path, std::chrono::system_clock::now());
            if (const std::string moved = RenameAside(path, aside); !moved.empty())
                return Failed("the history file is damaged (" + error + ") and cannot be moved aside: " + moved);
            THistoryFile fresh = Open(path, true);
            if (fresh.Result.State == THistoryOpenState::Ready) {
                fresh.Result.State = THistoryOpenState::StartedAfresh;
                fresh.Result.DamagedPath = Utf8(aside);
            }
            return fresh;
        }
    }

    const std::string version = file.Db.QueryText("PRAGMA user_version", error);
    if (!error.empty())
        return Failed(error);
    if (std::stoi(version) > HistorySchema::Version) {
        file.Db = TSqliteConnection(Utf8(path), SQLITE_OPEN_READONLY);
        if (!file.Db || sqlite3_busy_timeout(file.Db.Get(), BusyWaitMs) != SQLITE_OK)
            return Failed("cannot open " + Utf8(path) + ": " + file.Db.Error());
        file.Result.State = THistoryOpenState::ReadOnlyNewer;
        return file;
    }
    if (sqlite3_db_readonly(file.Db.Get(), "main") == 1)
        return Failed("cannot write " + Utf8(path));

    // WAL lets other processes read while this copy writes, and with synchronous=NORMAL a commit costs no fsync:
    // a power cut may lose the last batches, never the file.
    if (file.Db.QueryText("PRAGMA journal_mode=WAL", error) != "wal")
        return Failed("cannot keep a write-ahead log for " + Utf8(path) + ": " + error);
    if (error = file.Db.Execute("PRAGMA synchronous=NORMAL"); !error.empty())
        return Failed(error);
    if (version == "0") {
        if (error = HistorySchema::Create(file.Db); !error.empty())
            return Failed("cannot set up " + Utf8(path) + ": " + error);
    }
    file.Result.State = THistoryOpenState::Ready;
    return file;
}

}  // namespace

THistoryFile OpenHistoryFile(const std::filesystem::path& path, THistoryAccess access) {
    return access == THistoryAccess::Read ? OpenToRead(path) : Open(path, false);
}
