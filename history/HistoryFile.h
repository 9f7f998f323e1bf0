// Opening the history file: creating it, setting it up for one writer and many readers, and what to do when it
// is damaged, newer than this program, or cannot be written.
#pragma once

#include <filesystem>

#include "history/HistoryResult.h"
#include "history/SqliteConnection.h"

struct THistoryFile {
    TSqliteConnection Db;  ///< Empty when the open failed.
    THistoryOpenResult Result;
};

/// Opens or creates the history at `path`. A damaged file is renamed aside and a new one started; a file of a
/// newer schema is opened read-only.
THistoryFile OpenHistoryFile(const std::filesystem::path& path);
