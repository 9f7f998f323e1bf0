// SQLite's connection calls, each result checked.
#include "history/SqliteConnection.h"

#include <sqlite3.h>

#include "history/SqliteStatement.h"

void TSqliteConnection::TClose::operator()(sqlite3* db) const {
    // Every statement is finalized by its owner first, so the close cannot be left pending.
    sqlite3_close_v2(db);
}

TSqliteConnection::TSqliteConnection(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    Db.reset(db);  // sqlite3_open_v2 hands out a handle even when it fails; it must be closed
    if (rc != SQLITE_OK) {
        OpenError = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        Db.reset();
        return;
    }
    // Extended codes tell a full disk from a locked file in the messages the user sees.
    sqlite3_extended_result_codes(db, 1);
}

int TSqliteConnection::Code() const { return Db ? sqlite3_errcode(Db.get()) & 0xff : SQLITE_CANTOPEN; }

std::string TSqliteConnection::Error() const { return Db ? sqlite3_errmsg(Db.get()) : OpenError; }

std::int64_t TSqliteConnection::LastInsertId() const { return Db ? sqlite3_last_insert_rowid(Db.get()) : 0; }

std::string TSqliteConnection::Execute(std::string_view sql) const {
    if (!Db)
        return OpenError;
    const std::string text(sql);
    char* message = nullptr;
    if (sqlite3_exec(Db.get(), text.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
        return {};
    std::string error = message ? message : Error();
    sqlite3_free(message);
    return error;
}

std::string TSqliteConnection::QueryText(std::string_view sql, std::string& error) const {
    TSqliteStatement query(*this, sql);
    if (!query || query.Step() != SQLITE_ROW) {
        error = Error();
        return {};
    }
    return query.Text(0);
}
