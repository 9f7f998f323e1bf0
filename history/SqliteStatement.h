// A prepared SQLite statement, finalized when its owner goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3_stmt;
class TSqliteConnection;

class TSqliteStatement {
public:
    TSqliteStatement() = default;
    /// Prepares `sql` on `db`; on failure the statement is empty and the connection's Error() says why.
    TSqliteStatement(const TSqliteConnection& db, std::string_view sql);

    explicit operator bool() const { return Statement != nullptr; }

    /// Binding returns false when SQLite refused (the connection says why). Indexes count from 1.
    bool Bind(int index, std::int64_t value);
    bool BindText(int index, std::string_view text);
    bool BindBlob(int index, std::string_view bytes);
    /// SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    /// Ready to run again with new values.
    void Reset();

    std::int64_t Integer(int column) const;
    std::string Text(int column) const;
    std::string Blob(int column) const;

private:
    struct TFinalize {
        void operator()(sqlite3_stmt* statement) const;
    };
    std::unique_ptr<sqlite3_stmt, TFinalize> Statement;
};
