// What the history store's calls tell their caller: done, or why not. Faults never leave the store as exceptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/HistoryEntry.h"

struct THistoryResult {
    /// Empty when the call did what it was asked.
    std::string Error;

    bool Ok() const { return Error.empty(); }
};

struct THistoryAdded : THistoryResult {
    /// The id the first entry was given; the others follow it one by one. 0 when nothing was kept.
    std::int64_t FirstId = 0;
};

struct THistoryRows : THistoryResult {
    /// Newest first.
    std::vector<THistoryEntry> Entries;
};

/// How the file was found when the store opened it.
enum class THistoryOpenState {
    Ready,            ///< Read and written.
    StartedAfresh,    ///< The old file was damaged, renamed aside (DamagedPath) and a new one started.
    ReadOnlyNewer,    ///< Written by a newer Kestrin: read, never written.
    Failed,           ///< No history at all (Error says why); every call reports the fault.
};

struct THistoryOpenResult : THistoryResult {
    THistoryOpenState State = THistoryOpenState::Failed;
    std::string DamagedPath;
};
