// The History window's list: the newest memos first, read from the store a page at a time as the list is
// scrolled, or the newest that hold the words searched for.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "history/HistoryEntry.h"

class THistoryStore;

/// When a memo was received or sent, in local time, as the History window shows it.
QString HistoryTime(std::int64_t ms);

class THistoryListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum TColumn { Computer, Time, FirstLine, Columns };

    /// `unread` says which entries to show in bold; both must outlive the model.
    THistoryListModel(THistoryStore& store, std::function<bool(std::int64_t id)> unread, QObject* parent);

    /// Every entry when `words` is empty, else those that hold every word; only those of `computer` (as
    /// shown) unless it is empty.
    void Query(const QString& words, const QString& computer);
    /// Reads again: what the store gained since comes in at the top, the rest stays where it is.
    void Refresh();
    /// The unread marks changed.
    void UnreadChanged();

    /// The entry in `row`, or null.
    const THistoryEntry* Entry(int row) const;
    /// The row of the entry with this id, or -1.
    int Row(std::int64_t id) const;
    /// Why the store could not be read, or empty.
    const QString& Error() const { return Failure; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    /// A page of Recent from `offset`, or the search's results; false (and Error() set) when the read failed.
    bool Read(std::vector<THistoryEntry>& rows, int offset);

    THistoryStore& Store;
    std::function<bool(std::int64_t)> Unread;
    std::string Words;
    THistoryFilter Filter;
    std::vector<THistoryEntry> Rows;
    bool More = false;  ///< Recent has pages not read yet
    QString Failure;
};
