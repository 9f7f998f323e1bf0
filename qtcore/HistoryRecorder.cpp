// The history written in batches at the end of each turn of the event loop.
#include "qtcore/HistoryRecorder.h"

#include <QCoreApplication>
#include <chrono>

#include "history/HistoryStore.h"

namespace {

/// Entries kept in memory while the file cannot be written, so that a disk made free again loses nothing;
/// beyond this the oldest go, as a full disk must not fill the memory too.
constexpr std::size_t MaxWaiting = 100'000;
constexpr auto RetryInterval = std::chrono::seconds(30);
constexpr auto RetentionInterval = std::chrono::hours(24);
constexpr std::size_t NoEntry = SIZE_MAX;

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

THistoryRecorder::THistoryRecorder(const THistorySettings& settings, const std::filesystem::path& path)
    : Settings(settings) {
    if (!Settings.Enabled)
        return;
    History = std::make_unique<THistoryStore>(path);
    const THistoryOpenResult& opened = History->Opened();
    switch (opened.State) {
        case THistoryOpenState::StartedAfresh:
            Tell(QCoreApplication::translate(
                     "HistoryRecorder",
                     "The history file was damaged; it was kept as %1 and a new one was started")
                     .arg(QString::fromStdString(opened.DamagedPath)));
            break;
        case THistoryOpenState::ReadOnlyNewer:
            Tell(QCoreApplication::translate(
                "HistoryRecorder",
                "The history file was written by a newer Kestrin: it is shown, but "
                "nothing is added to it"));
            break;
        case THistoryOpenState::Failed:
            Tell(QCoreApplication::translate("HistoryRecorder", "The history cannot be kept: %1")
                     .arg(QString::fromStdString(opened.Error)));
            break;
        case THistoryOpenState::Ready:
            break;
    }
    // One wake-up a day removes what has grown old; an idle copy is not woken otherwise.
    Daily.setInterval(RetentionInterval);
    QObject::connect(&Daily, &QTimer::timeout, [this] { RemoveOld(); });
    if (Settings.KeepDays > 0 && Writable())
        Daily.start();
    Retry.setSingleShot(true);
    Retry.setInterval(RetryInterval);
    QObject::connect(&Retry, &QTimer::timeout, [this] { Flush(); });
    RemoveOld();
    if (!Untold.isEmpty())
        Schedule();
}

THistoryRecorder::~THistoryRecorder() {
    // What waits is written; its shows are not run, as what they show may be gone already.
    Write();
}

bool THistoryRecorder::Writable() const {
    return History && (History->Opened().State == THistoryOpenState::Ready ||
                       History->Opened().State == THistoryOpenState::StartedAfresh);
}

THistoryStore* THistoryRecorder::Store() const {
    return History && History->Opened().State != THistoryOpenState::Failed ? History.get() : nullptr;
}

void THistoryRecorder::Received(const TArrival& arrival, TShow show) {
    std::size_t index = NoEntry;
    if (Writable()) {
        Waiting.push_back({0, NowMs(), arrival.ShownTime.toStdString(), THistoryDirection::Received,
                           arrival.Memo ? THistoryKind::Memo : THistoryKind::Line, arrival.Origin.Bytes,
                           arrival.Origin.Shown.toStdString(), arrival.Shown.join('\n').toStdString(),
                           arrival.Bytes});
        index = Waiting.size() - 1;
    }
    Shows.emplace_back(index, std::move(show));
    Schedule();
}

void THistoryRecorder::Sent(const TPeerText& peers, const std::string& target, const TStringList& lines,
                            bool memo) {
    if (!Writable())
        return;
    const TArrival text = peers.Memo(target.empty() ? std::string(HistoryToAll) : target, {}, lines);
    Waiting.push_back({0, NowMs(), {}, THistoryDirection::Sent, memo ? THistoryKind::Memo : THistoryKind::Line,
                       text.Origin.Bytes, text.Origin.Shown.toStdString(), text.Shown.join('\n').toStdString(),
                       text.Bytes});
    Schedule();
}

void THistoryRecorder::Schedule() {
    if (Scheduled)
        return;
    Scheduled = true;
    // Queued behind what the event loop already holds: a burst handed over in one turn is one transaction.
    QMetaObject::invokeMethod(&Turn, [this] { Flush(); }, Qt::QueuedConnection);
}

std::int64_t THistoryRecorder::Write() {
    if (Waiting.empty())
        return 0;
    const THistoryAdded added = History->Add(Waiting);
    if (added.Ok()) {
        Waiting.clear();
        Told.removeAll("write");
        return added.FirstId;
    }
    Tell(QCoreApplication::translate("HistoryRecorder",
                                     "Memos could not be added to the history (%1); they are shown, and "
                                     "kept for a later try")
             .arg(QString::fromStdString(added.Error)),
         "write");
    if (!Retry.isActive())
        Retry.start();
    return 0;
}

void THistoryRecorder::Flush() {
    Scheduled = false;
    if (OnProblem)
        for (const QString& text : std::exchange(Untold, {}))
            OnProblem(text);
    const std::int64_t firstId = Write();
    // Shows run even when writing failed: the history never holds a memo back from its reader.
    for (auto& [index, show] : std::exchange(Shows, {}))
        show(firstId != 0 && index != NoEntry ? firstId + static_cast<std::int64_t>(index) : 0);
    if (Waiting.size() > MaxWaiting)
        Waiting.erase(Waiting.begin(), Waiting.end() - static_cast<std::ptrdiff_t>(MaxWaiting));
}

void THistoryRecorder::RemoveOld() {
    if (Settings.KeepDays <= 0 || !Writable())
        return;
    if (const THistoryResult removed = History->RemoveOlderThan(Settings.KeepDays); !removed.Ok())
        Tell(QCoreApplication::translate("HistoryRecorder",
                                         "Old memos could not be removed from the history: %1")
                 .arg(QString::fromStdString(removed.Error)),
             "remove");
}

void THistoryRecorder::Tell(const QString& text, const QString& kind) {
    const QString key = kind.isEmpty() ? text : kind;
    if (Told.contains(key))
        return;
    Told << key;
    if (OnProblem)
        OnProblem(text);
    else
        Untold << text;
}
