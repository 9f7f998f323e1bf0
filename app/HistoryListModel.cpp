// Reading the history for the list, a page at a time.
#include "app/HistoryListModel.h"

#include <QDateTime>
#include <QFont>
#include <algorithm>

#include "history/HistoryStore.h"

namespace {

// One screenful and more, read in about a millisecond however large the file: the window opens at once, and
// scrolling reads the next page only when it comes into view.
constexpr int PageSize = 200;
// Search has no pages: the newest matches, which is what a search in a memo history is for.
constexpr int SearchLimit = 1000;

QString Shown(const std::string& text) {
    return QString::fromStdString(text);
}

QString ComputerText(const THistoryEntry& entry) {
    if (entry.Direction == THistoryDirection::Received) {
        return Shown(entry.Computer);
    }
    return entry.ComputerBytes == HistoryToAll ? THistoryListModel::tr("to all")
                                      : THistoryListModel::tr("to %1").arg(Shown(entry.Computer));
}

QString FirstLineText(const THistoryEntry& entry) {
    const std::string_view text = entry.Text;
    return Shown(std::string(text.substr(0, text.find('\n'))));
}

}  // namespace

QString HistoryTime(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

THistoryListModel::THistoryListModel(THistoryStore& store, std::function<bool(std::int64_t)> unread,
                                     QObject* parent)
    : QAbstractTableModel(parent), Store(store), Unread(std::move(unread)) {}

void THistoryListModel::Query(const QString& words, const QString& computer) {
    beginResetModel();
    Words = words.trimmed().toStdString();
    Filter.Computer = computer.isEmpty() ? std::nullopt : std::optional(computer.toStdString());
    Rows.clear();
    More = Read(Rows, 0) && Words.empty() && Rows.size() == PageSize;
    endResetModel();
}

bool THistoryListModel::Read(std::vector<THistoryEntry>& rows, int offset) {
    THistoryRows read =
        Words.empty() ? Store.Recent(PageSize, offset, Filter) : Store.Search(Words, SearchLimit, Filter);
    Failure = Shown(read.Error);
    rows = std::move(read.Entries);
    return read.Ok();
}

void THistoryListModel::Refresh() {
    if (!Words.empty() || Rows.empty()) {
        Query(QString::fromStdString(Words), Filter.Computer ? Shown(*Filter.Computer) : QString());
        return;
    }
    std::vector<THistoryEntry> newest;
    if (!Read(newest, 0)) {
        return;
    }
    const std::int64_t known = Rows.front().Id;
    const auto added =
        std::ranges::find_if(newest, [known](const THistoryEntry& entry) { return entry.Id <= known; });
    if (added == newest.end()) {
        // More came than one page holds: the list starts afresh rather than leave a gap.
        Query({}, Filter.Computer ? Shown(*Filter.Computer) : QString());
        return;
    }
    const int count = static_cast<int>(added - newest.begin());
    if (count == 0) {
        return;
    }
    beginInsertRows({}, 0, count - 1);
    Rows.insert(Rows.begin(), std::make_move_iterator(newest.begin()), std::make_move_iterator(added));
    endInsertRows();
}

void THistoryListModel::UnreadChanged() {
    if (!Rows.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, Columns - 1), {Qt::FontRole});
    }
}

const THistoryEntry* THistoryListModel::Entry(int row) const {
    return row >= 0 && row < rowCount() ? &Rows[static_cast<std::size_t>(row)] : nullptr;
}

int THistoryListModel::Row(std::int64_t id) const {
    const auto found = std::ranges::find(Rows, id, &THistoryEntry::Id);
    return found == Rows.end() ? -1 : static_cast<int>(found - Rows.begin());
}

int THistoryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int THistoryListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant THistoryListModel::data(const QModelIndex& index, int role) const {
    const THistoryEntry* entry = Entry(index.row());
    if (entry == nullptr) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case Computer:
                return ComputerText(*entry);
            case Time:
                return HistoryTime(entry->ReceivedMs);
            default:
                return FirstLineText(*entry);
        }
    }
    if (role == Qt::FontRole && Unread(entry->Id)) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::ToolTipRole && index.column() == Time && !entry->SenderTime.empty()) {
        return tr("The sender's time: %1").arg(Shown(entry->SenderTime));
    }
    return {};
}

QVariant THistoryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case Computer:
            return tr("Computer");
        case Time:
            return tr("Time");
        default:
            return tr("Memo");
    }
}

bool THistoryListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && More;
}

void THistoryListModel::fetchMore(const QModelIndex& parent) {
    std::vector<THistoryEntry> page;
    if (parent.isValid() || !Read(page, static_cast<int>(Rows.size()))) {
        More = false;
        return;
    }
    More = page.size() == PageSize;
    if (page.empty()) {
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    Rows.insert(Rows.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
    endInsertRows();
}
