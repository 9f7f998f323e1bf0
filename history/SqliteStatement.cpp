// SQLite's statement calls, each result checked.
#include "history/SqliteStatement.h"

#include <sqlite3.h>

#include "history/SqliteConnection.h"

void TSqliteStatement::TFinalize::operator()(sqlite3_stmt* statement) const {
    // sqlite3_finalize repeats the last step's error, which was reported when it happened.
    sqlite3_finalize(statement);
}

TSqliteStatement::TSqliteStatement(const TSqliteConnection& db, std::string_view sql) {
    if (!db)
        return;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.Get(), sql.data(), static_cast<int>(sql.size()), &statement, nullptr) == SQLITE_OK)
        Statement.reset(statement);
    else
        sqlite3_finalize(statement);
}

bool TSqliteStatement::Bind(int index, std::int64_t value) {
    return sqlite3_bind_int64(Statement.get(), index, value) == SQLITE_OK;
}

bool TSqliteStatement::BindText(int index, std::string_view text) {
    return sqlite3_bind_text64(Statement.get(), index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) ==
           SQLITE_OK;
}

bool TSqliteStatement::BindBlob(int index, std::string_view bytes) {
    // An empty view may have no data pointer; SQLite would store NULL instead of an empty blob.
    static const char none = 0;
    return sqlite3_bind_blob64(Statement.get(), index, bytes.empty() ? &none : bytes.data(), bytes.size(),
                               SQLITE_TRANSIENT) == SQLITE_OK;
}

int TSqliteStatement::Step() { return sqlite3_step(Statement.get()) & 0xff; }

void TSqliteStatement::Reset() {
    // sqlite3_reset repeats the last step's error, already reported by Step; the statement is reset either way,
    // and every value is bound again before the next run.
    sqlite3_reset(Statement.get());
}

std::int64_t TSqliteStatement::Integer(int column) const { return sqlite3_column_int64(Statement.get(), column); }

std::string TSqliteStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Statement.get(), column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(Statement.get(), column))) : "";
}

std::string TSqliteStatement::Blob(int column) const {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(Statement.get(), column));
    return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(Statement.get(), column))) : "";
}
