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

/// How a process uses the file: the one running copy writes it; anyone else only reads it and changes nothing,
/// not even a damaged file.
enum class THistoryAccess { Write, Read };

/// Opens the history at `path`. To write, a missing file is created, a damaged file renamed aside and a new
/// one started, and a file of a newer schema opened read-only. To read, a missing or damaged file fails.
THistoryFile OpenHistoryFile(const std::filesystem::path& path, THistoryAccess access = THistoryAccess::Write);
