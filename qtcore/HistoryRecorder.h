// Keeps what a program receives and sends in the history before anyone sees it. What arrives in one turn of
// the event loop is written in one transaction at the end of the turn and only then handed on, in order, so
// a flood costs one commit per turn and a memo on the screen is a memo on disk.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "history/HistoryEntry.h"
#include "qtcore/HistorySettings.h"
#include "qtcore/PeerText.h"

class THistoryStore;

class THistoryRecorder {
public:
    /// Runs when a received entry may be shown; `id` is its row in the store, 0 when it could not be kept.
    using TShow = std::function<void(std::int64_t id)>;

    /// Opens `path` (DefaultHistoryPath() normally) unless `settings.Enabled` is false, removes what is older
    /// than KeepDays now and once a day after. The end-of-turn writes run in the event loop of the thread
    /// that makes the recorder, which must also be the one that uses it.
    THistoryRecorder(const THistorySettings& settings, const std::filesystem::path& path);
    ~THistoryRecorder();

    /// Keeps a memo or line message received; `show` runs at the end of this turn, after it is written
    /// (or writing failed: a memo is never held back for the history's sake).
    void Received(const TArrival& arrival, TShow show);
    /// Keeps a memo or line message this computer sent to `target` (empty: every computer), written at the
    /// end of this turn. It is read with `peers` and made visible as an arrival's text is, so that both
    /// directions are searched and shown alike.
    void Sent(const TPeerText& peers, const std::string& target, const TStringList& lines, bool memo);
    /// Writes what waits now and runs its shows; the programs call it before they end.
    void Flush();

    /// The store for reading; null when the history is off or the file could not be opened.
    THistoryStore* Store() const;
    /// Told once per kind of fault, in words for the user: the file could not be written (memos still shown,
    /// writing retried), was damaged and started afresh, or belongs to a newer Kestrin and is only read. What
    /// was found on opening is told at the end of the first turn, so it may be set after construction.
    std::function<void(const QString&)> OnProblem;

private:
    bool Writable() const;
    void Schedule();
    /// Writes what waits; the id the first of it was given, 0 when nothing was written.
    std::int64_t Write();
    void Tell(const QString& text, const QString& kind = {});
    void RemoveOld();

    THistorySettings Settings;
    std::unique_ptr<THistoryStore> History;
    /// Receives the end-of-turn write; it goes with the recorder, and a write still queued goes with it.
    QObject Turn;
    std::vector<THistoryEntry> Waiting;
    std::vector<std::pair<std::size_t, TShow>> Shows;  ///< index into Waiting, and what runs after it is kept
    bool Scheduled = false;
    QStringList Told;     ///< the kinds of fault told already
    QStringList Untold;   ///< found before OnProblem was set
    QTimer Daily;
    QTimer Retry;
};
