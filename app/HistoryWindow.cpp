// The History window's controls and behaviour.
#include "app/HistoryWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/HistoryListModel.h"

namespace {

QString Described(const THistoryEntry& entry) {
    const QString computer = QString::fromStdString(entry.Computer);
    const QString when = HistoryTime(entry.ReceivedMs);
    if (entry.Direction == THistoryDirection::Sent) {
        return entry.ComputerBytes == HistoryToAll ? TfrmHistory::tr("To all, sent %1").arg(when)
                                          : TfrmHistory::tr("To %1, sent %2").arg(computer, when);
    }
    return TfrmHistory::tr("From %1, received %2 (the sender's time: %3)")
        .arg(computer, when, QString::fromStdString(entry.SenderTime));
}

}  // namespace

TfrmHistory::TfrmHistory(const THistoryWindowEnvironment& environment, QWidget* owner)
    : QWidget(owner, Qt::Window), Environment(environment) {
    setObjectName("frmHistory");
    setWindowTitle(tr("Kestrin History"));
    Model = new THistoryListModel(Environment.Store, Environment.Unread, this);
    BuildControls();
    resize(640, 480);
}

TfrmHistory::~TfrmHistory() = default;

void TfrmHistory::BuildControls() {
    edtSearch = new QLineEdit(this);
    edtSearch->setObjectName("edtSearch");
    edtSearch->setPlaceholderText(tr("Search"));
    edtSearch->setClearButtonEnabled(true);
    edtSearch->setAccessibleName(tr("Search"));
    edtSearch->setAccessibleDescription(tr("Only the memos that hold these words"));
    cmbComputer = new QComboBox(this);
    cmbComputer->setObjectName("cmbComputer");
    cmbComputer->setEditable(true);
    cmbComputer->setInsertPolicy(QComboBox::NoInsert);
    cmbComputer->lineEdit()->setPlaceholderText(tr("All computers"));
    cmbComputer->lineEdit()->setClearButtonEnabled(true);
    cmbComputer->setMinimumContentsLength(16);
    cmbComputer->setToolTip(tr("Only the memos from and to this computer"));
    cmbComputer->setAccessibleName(tr("Computer"));

    lstMemos = new QTreeView(this);
    lstMemos->setObjectName("lstMemos");
    lstMemos->setModel(Model);
    lstMemos->setAccessibleName(tr("Memos"));
    lstMemos->setRootIsDecorated(false);
    lstMemos->setUniformRowHeights(true);  // the list is measured without reading every row
    lstMemos->setSelectionMode(QAbstractItemView::SingleSelection);
    lstMemos->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstMemos->setAllColumnsShowFocus(true);
    lstMemos->header()->setStretchLastSection(true);
    lstMemos->setColumnWidth(THistoryListModel::Computer, 130);
    lstMemos->setColumnWidth(THistoryListModel::Time, 150);

    lblMemo = new QLabel(this);
    lblMemo->setObjectName("lblMemo");
    lblMemo->setTextFormat(Qt::PlainText);  // names and times come from the network
    memoText = new QPlainTextEdit(this);
    memoText->setObjectName("memoText");
    memoText->setReadOnly(true);
    memoText->setAccessibleName(tr("Memo text"));
    btnReply = new QPushButton(tr("&Reply"), this);
    btnReply->setObjectName("btnReply");
    btnReply->setToolTip(tr("Write to this memo's computer in the main window"));
    btnReply->setEnabled(false);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setTextFormat(Qt::PlainText);

    auto* filters = new QHBoxLayout;
    filters->addWidget(edtSearch, 1);
    filters->addWidget(cmbComputer);
    auto* reading = new QWidget(this);
    auto* memo = new QVBoxLayout(reading);
    memo->setContentsMargins(0, 0, 0, 0);
    memo->addWidget(lblMemo);
    memo->addWidget(memoText);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(lstMemos);
    splitter->addWidget(reading);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblStatus, 1);
    buttons->addWidget(btnReply);
    auto* window = new QVBoxLayout(this);
    window->addLayout(filters);
    window->addWidget(splitter, 1);
    window->addLayout(buttons);
    setTabOrder(edtSearch, cmbComputer);
    setTabOrder(cmbComputer, lstMemos);
    setTabOrder(lstMemos, memoText);
    setTabOrder(memoText, btnReply);

    connect(edtSearch, &QLineEdit::textChanged, this, &TfrmHistory::Query);
    connect(cmbComputer, &QComboBox::editTextChanged, this, &TfrmHistory::Query);
    connect(lstMemos->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfrmHistory::ShowSelected);
    connect(lstMemos, &QTreeView::activated, this, &TfrmHistory::ReplyClick);  // Enter or a double click
    connect(btnReply, &QPushButton::clicked, this, &TfrmHistory::ReplyClick);
}

void TfrmHistory::Open(const QStringList& computers) {
    Query();
    OfferComputers(computers);
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
    edtSearch->setFocus();
}

void TfrmHistory::OfferComputers(const QStringList& computers) {
    QStringList offered = computers;
    for (int row = 0; const THistoryEntry* entry = Model->Entry(row); ++row) {
        if (entry->ComputerBytes != HistoryToAll) {
            offered << QString::fromStdString(entry->Computer);
        }
    }
    offered.removeAll(QString());
    offered.sort(Qt::CaseInsensitive);
    offered.removeDuplicates();
    const QString typed = cmbComputer->currentText();
    const QSignalBlocker quiet(cmbComputer);  // the filter stays what it is
    cmbComputer->clear();
    cmbComputer->addItems(offered);
    cmbComputer->setEditText(typed);
}

std::int64_t TfrmHistory::SelectedId() const {
    const THistoryEntry* selected = Model->Entry(lstMemos->currentIndex().row());
    return selected ? selected->Id : 0;
}

void TfrmHistory::Reselect(std::int64_t id) {
    const int row = Model->Row(id);
    if (row < 0) {
        ShowSelected();  // gone from the list: nothing is shown
    } else if (row != lstMemos->currentIndex().row()) {
        lstMemos->setCurrentIndex(Model->index(row, 0));
    }
}

void TfrmHistory::Query() {
    const std::int64_t selected = SelectedId();
    Model->Query(edtSearch->text(), cmbComputer->currentText().trimmed());
    Reselect(selected);
    lblStatus->setText(!Model->Error().isEmpty() ? tr("The history cannot be read: %1").arg(Model->Error())
                       : Model->rowCount() > 0   ? QString()
                       : edtSearch->text().trimmed().isEmpty() ? tr("No memos")
                                                               : tr("No memo holds these words"));
}

void TfrmHistory::Added() {
    if (RefreshPending || !isVisible()) {
        return;
    }
    RefreshPending = true;
    // Behind the recorder's write, which is queued before: what it wrote is read.
    QMetaObject::invokeMethod(this, &TfrmHistory::Refresh, Qt::QueuedConnection);
}

void TfrmHistory::Refresh() {
    RefreshPending = false;
    const std::int64_t selected = SelectedId();
    Model->Refresh();
    Reselect(selected);
}

void TfrmHistory::UnreadChanged() {
    Model->UnreadChanged();
}

void TfrmHistory::ShowSelected() {
    const THistoryEntry* entry = Model->Entry(lstMemos->currentIndex().row());
    btnReply->setEnabled(entry != nullptr);
    lblMemo->setText(entry ? Described(*entry) : QString());
    memoText->setPlainText(entry ? QString::fromStdString(entry->Text) : QString());
    if (entry != nullptr) {
        Environment.Opened(entry->Id);
    }
}

void TfrmHistory::ReplyClick() {
    if (const THistoryEntry* entry = Model->Entry(lstMemos->currentIndex().row())) {
        Environment.Reply(*entry);
    }
}
