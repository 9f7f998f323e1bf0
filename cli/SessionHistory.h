// What a console copy that opens the mailbox keeps in the history: everything it receives and sends, through
// one recorder, or nothing at all when the settings or the command line say so.
#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "cli/CommandLine.h"
#include "messenger/StringList.h"
#include "qtcore/PeerText.h"

class THistoryRecorder;

class TSessionHistory {
public:
    /// Records for the interactive session, listen and echo, unless --no-history or [History] Enabled=0; the
    /// writes run at the end of each turn of this thread's event loop.
    TSessionHistory(const TCliCommand& command, const TPeerText& peers);
    ~TSessionHistory();

    /// Keeps what arrived, then runs `show` (at once when nothing is kept): what is printed is on disk.
    void Received(const TArrival& arrival, std::function<void()> show);
    /// Keeps a memo or line message that went out to `target` (its bytes; empty: every computer).
    void Sent(const std::string& target, const TStringList& lines, bool memo);
    /// Writes what waits and prints its arrivals; called before the copy ends.
    void Flush();
    /// Where a fault of the history is said, once each kind: standard error unless set otherwise.
    void OnProblem(std::function<void(const std::string&)> tell);
    /// What [History] held that could not be used.
    const QStringList& SettingsProblems() const { return Problems; }

private:
    const TPeerText& Peers;
    QStringList Problems;
    std::unique_ptr<THistoryRecorder> Recorder;  ///< null: nothing is kept
};
