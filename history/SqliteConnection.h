// An open SQLite database, closed when its owner goes; every call on it says how it went.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

class TSqliteConnection {
public:
    TSqliteConnection() = default;
    /// Opens `path` with sqlite3_open_v2's `flags`; on failure the connection is empty and Error() says why.
    TSqliteConnection(const std::string& path, int flags);

    explicit operator bool() const { return Db != nullptr; }
    sqlite3* Get() const { return Db.get(); }
    /// SQLite's primary result code of the last call, and its message.
    int Code() const;
    std::string Error() const;
    /// The row id the last successful INSERT on this connection gave.
    std::int64_t LastInsertId() const;

    /// Runs statements that return no rows; empty when they all succeeded, otherwise SQLite's message.
    std::string Execute(std::string_view sql) const;
    /// The first column of the first row of a one-row query (a pragma), or nothing with `error` set.
    std::string QueryText(std::string_view sql, std::string& error) const;

private:
    struct TClose {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, TClose> Db;
    std::string OpenError;
};
