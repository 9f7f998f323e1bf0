// The History window: every memo received and sent, newest first; search, a filter by computer, and Reply.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "history/HistoryEntry.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;
class THistoryListModel;
class THistoryStore;

/// What the window asks of the program; all of it must outlive the window.
struct THistoryWindowEnvironment {
    THistoryStore& Store;
    /// Whether a memo is still unread (shown in bold).
    std::function<bool(std::int64_t id)> Unread;
    /// A memo was opened here: it is no longer unread.
    std::function<void(std::int64_t id)> Opened;
    /// Reply: the main window writes to this memo's computer.
    std::function<void(const THistoryEntry& entry)> Reply;
};

class TfrmHistory final : public QWidget {
    Q_OBJECT

public:
    TfrmHistory(const THistoryWindowEnvironment& environment, QWidget* owner);
    ~TfrmHistory() override;

    /// Shows the window in front with the newest memos; `computers` are offered in the filter.
    void Open(const QStringList& computers);
    /// The store gained something: the list takes it in when the event loop comes round, once for a burst.
    void Added();
    /// The unread marks changed.
    void UnreadChanged();

private:
    void BuildControls();
    std::int64_t SelectedId() const;
    /// Shows the entry `id` again after the list was read anew, or nothing when it is no longer there.
    void Reselect(std::int64_t id);
    void Query();
    void Refresh();
    void ShowSelected();
    void ReplyClick();
    void OfferComputers(const QStringList& computers);

    THistoryWindowEnvironment Environment;
    THistoryListModel* Model = nullptr;
    QLineEdit* edtSearch = nullptr;
    QComboBox* cmbComputer = nullptr;
    QTreeView* lstMemos = nullptr;
    QLabel* lblMemo = nullptr;
    QPlainTextEdit* memoText = nullptr;
    QPushButton* btnReply = nullptr;
    QLabel* lblStatus = nullptr;
    bool RefreshPending = false;
};
