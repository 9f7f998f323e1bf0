// The tables of the history file, and the version number that says which shape the file has.
#pragma once

#include <string>

class TSqliteConnection;

namespace HistorySchema {

/// Kept in the file's `PRAGMA user_version`; a file with a higher number was written by a newer Kestrin.
inline constexpr int Version = 1;

/// Creates the tables in a new file (user_version 0) and stamps the version; empty on success, else why not.
std::string Create(const TSqliteConnection& db);

}  // namespace HistorySchema
