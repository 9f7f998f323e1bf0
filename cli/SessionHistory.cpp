// The console's history: one recorder for the whole copy, shared by its arrivals and its memos sent.
#include "cli/SessionHistory.h"

#include "cli/Output.h"
#include "history/HistoryPath.h"
#include "qtcore/HistoryRecorder.h"

namespace {

bool OpensTheMailbox(TCliCommand::TKind kind) {
    using enum TCliCommand::TKind;
    return kind == Interactive || kind == Listen || kind == Echo;
}

}  // namespace

TSessionHistory::TSessionHistory(const TCliCommand& command, const TPeerText& peers)
    : Peers(peers) {
    if (!OpensTheMailbox(command.Kind) || command.NoHistory) {
        return;
    }
    const THistorySettings settings = ReadHistorySettings(command.ConfigPath);
    Problems = settings.Problems;
    // Switched off, the file is left alone: not even opened.
    if (settings.Enabled) {
        Recorder = std::make_unique<THistoryRecorder>(settings, DefaultHistoryPath());
        OnProblem([](const std::string& text) { PrintError("kestrin-cli: " + text + "\n"); });
    }
}

TSessionHistory::~TSessionHistory() = default;

void TSessionHistory::Received(const TArrival& arrival, std::function<void()> show) {
    if (!Recorder) {
        show();
        return;
    }
    Recorder->Received(arrival, [show = std::move(show)](std::int64_t) { show(); });
}

void TSessionHistory::Sent(const std::string& target, const TStringList& lines, bool memo) {
    if (!Recorder) {
        return;
    }
    Recorder->Sent(Peers, target, lines, memo);
}

void TSessionHistory::Flush() {
    if (Recorder) {
        Recorder->Flush();
    }
}

void TSessionHistory::OnProblem(std::function<void(const std::string&)> tell) {
    if (!Recorder) {
        return;
    }
    // The recorder words its faults as sentences of their own; here they follow "kestrin-cli: ".
    Recorder->OnProblem = [tell = std::move(tell)](const QString& text) {
        tell((text.left(1).toLower() + text.mid(1)).toStdString());
    };
}
