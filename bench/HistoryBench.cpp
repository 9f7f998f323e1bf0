// The history store's figures: batches of memos written through the store beside SQLite's own floor (the same
// rows, one prepared statement, one transaction per batch), and search and Recent(50) over a large history.
// Usage: HistoryBench [--memos=N] [benchmark flags]; N (default 1,000,000) sizes the searched history, built once
// in a temporary folder and kept there for the next run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "history/HistoryStore.h"

namespace {

namespace fs = std::filesystem;

constexpr int BatchSize = 1000;
long SearchedMemos = 1'000'000;

const char* const Words[] = {"встреча", "отчёт", "обед", "принтер", "сервер", "завтра", "сегодня", "почта",
                             "meeting", "report", "lunch", "printer", "server", "tomorrow", "café", "résumé",
                             "backup", "invoice", "счёт", "договор", "звонок", "клиент", "office", "update"};

/// A memo of eight to fifteen words, with a number that makes some rare words ("order12345").
THistoryEntry Memo(long i) {
    std::string text;
    unsigned seed = static_cast<unsigned>(i) * 2654435761u;
    const int count = 8 + static_cast<int>(seed % 8);
    for (int w = 0; w < count; ++w) {
        seed = seed * 1103515245u + 12345u;
        text += Words[(seed >> 8) % std::size(Words)];
        text += ' ';
    }
    text += "order" + std::to_string(i);
    const std::string computer = "PC-" + std::to_string(i % 40);
    return {0, 1'700'000'000'000 + i, "01.02.2024 10:00", THistoryDirection::Received, THistoryKind::Memo,
            computer, computer, text, text};
}

std::vector<THistoryEntry> Batch(long first) {
    std::vector<THistoryEntry> batch;
    for (long i = first; i < first + BatchSize; ++i)
        batch.push_back(Memo(i));
    return batch;
}

struct TTempFolder {
    fs::path Path = fs::temp_directory_path() / ("kestrin-history-bench-" + std::to_string(getpid()));
    TTempFolder() { fs::create_directories(Path); }
    ~TTempFolder() { fs::remove_all(Path); }
};

// Times `write` on a fresh batch of memos each iteration; the batch is made outside the timing.
template <typename TWrite>
void TimeBatches(benchmark::State& state, TWrite write) {
    long next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<THistoryEntry> batch = Batch(next);
        next += BatchSize;
        state.ResumeTiming();
        write(batch);
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

void StoreWrites(benchmark::State& state) {
    TTempFolder folder;
    THistoryStore store(folder.Path / "history.sqlite");
    TimeBatches(state, [&](const std::vector<THistoryEntry>& batch) {
        if (!store.Add(batch).Ok())
            state.SkipWithError("Add failed");
    });
}
BENCHMARK(StoreWrites)->Unit(benchmark::kMillisecond)->MinTime(3);

// The floor: the store's own schema (its full-text index and triggers included), filled by raw SQLite calls.
void FloorWrites(benchmark::State& state) {
    TTempFolder folder;
    const fs::path path = folder.Path / "history.sqlite";
    { THistoryStore schema(path); }
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO message(received_ms, sender_time, direction, kind, computer_bytes, computer, "
                       "text, bytes) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    TimeBatches(state, [&](const std::vector<THistoryEntry>& batch) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const THistoryEntry& e : batch) {
            sqlite3_bind_int64(insert, 1, e.ReceivedMs);
            sqlite3_bind_text(insert, 2, e.SenderTime.data(), static_cast<int>(e.SenderTime.size()), SQLITE_STATIC);
            sqlite3_bind_int(insert, 3, 0);
            sqlite3_bind_int(insert, 4, 0);
            sqlite3_bind_blob(insert, 5, e.ComputerBytes.data(), static_cast<int>(e.ComputerBytes.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 6, e.Computer.data(), static_cast<int>(e.Computer.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 7, e.Text.data(), static_cast<int>(e.Text.size()), SQLITE_STATIC);
            sqlite3_bind_blob(insert, 8, e.Bytes.data(), static_cast<int>(e.Bytes.size()), SQLITE_STATIC);
            if (sqlite3_step(insert) != SQLITE_DONE)
                state.SkipWithError("insert failed");
            sqlite3_reset(insert);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    });
    sqlite3_finalize(insert);
    sqlite3_close(db);
}
BENCHMARK(FloorWrites)->Unit(benchmark::kMillisecond)->MinTime(3);

/// The large history, built on first use and kept between runs.
fs::path LargeHistory() {
    const fs::path path = fs::temp_directory_path() / ("kestrin-history-" + std::to_string(SearchedMemos)) /
                          "history.sqlite";
    THistoryStore store(path);
    const THistoryRows newest = store.Recent(1);
    if (!newest.Entries.empty() && newest.Entries[0].Id == SearchedMemos)
        return path;
    std::cerr << "building a history of " << SearchedMemos << " memos in " << path << "\n";
    for (long next = newest.Entries.empty() ? 0 : newest.Entries[0].Id; next < SearchedMemos; next += BatchSize)
        store.Add(Batch(next));
    return path;
}

void OpenLarge(benchmark::State& state) {
    const fs::path path = LargeHistory();
    for (auto _ : state)
        benchmark::DoNotOptimize(THistoryStore(path).Opened().State);
}
BENCHMARK(OpenLarge)->Unit(benchmark::kMillisecond);

void RecentLarge(benchmark::State& state) {
    THistoryStore store(LargeHistory());
    const std::optional<std::string> computer =
        state.range(0) ? std::optional<std::string>("PC-7") : std::nullopt;
    for (auto _ : state)
        if (store.Recent(50, 0, {computer, {}}).Entries.size() != 50)
            state.SkipWithError("Recent found too few");
}
BENCHMARK(RecentLarge)->Arg(0)->Arg(1)->ArgName("byComputer")->Unit(benchmark::kMicrosecond);

void SearchLarge(benchmark::State& state) {
    const char* const queries[] = {"встреча", "ОТЧЁТ принтер", "cafe resume", "order777", "nothing-like-this"};
    const char* words = queries[state.range(0)];
    state.SetLabel(words);
    THistoryStore store(LargeHistory());
    for (auto _ : state)
        if (!store.Search(words, 50).Ok())
            state.SkipWithError("Search failed");
}
BENCHMARK(SearchLarge)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

int Threads() {
    int count = 0;
    for ([[maybe_unused]] const auto& task : fs::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--memos=", 8) == 0)
            SearchedMemos = std::atol(argv[i] + 8);
    {
        // The store works only when called: opening it starts no thread.
        TTempFolder folder;
        const int before = Threads();
        THistoryStore store(folder.Path / "history.sqlite");
        std::cout << "threads before opening the store: " << before << ", with it open: " << Threads() << "\n";
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
