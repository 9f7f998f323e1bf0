// The main window's side of the history: the History window, unread memos, the tray, and where closing leads.
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QTextEdit>

#include "app/HistoryWindow.h"
#include "app/TrayIcon.h"
#include "app/uniKestrin.h"
#include "history/HistoryEntry.h"
#include "qtcore/HistoryRecorder.h"

void TfrmMain::SetUpHistory() {
    THistoryRecorder* recorder = Environment.History;
    const bool kept = recorder != nullptr && recorder->Store() != nullptr;
    mnuHistory->setEnabled(kept);
    if (recorder != nullptr) {
        recorder->OnProblem = [this](const QString& text) { TellOnce(text); };
    }
    if (Environment.Desktop.Tray) {
        Tray = std::make_unique<TTrayIcon>(
            TTrayActions{[this] { BringForward(); }, [this] { mnuHistoryClick(); },
                         [this] { mnuExitClick(); }},
            kept, this);
    }
}

void TfrmMain::ShowAtStart(bool minimized) {
    if (!minimized) {
        show();
    } else if (Tray == nullptr || !Tray->InTray()) {
        showMinimized();  // where there is no tray, the task bar holds it
    }
}

void TfrmMain::KeepSent(const std::string& target, const TStringList& lines) {
    // A typed "*" is refused by the messenger, which sends nothing.
    if (Environment.History == nullptr || target == HistoryToAll) {
        return;
    }
    Environment.History->Sent(Peers, target, lines, true);
    if (HistoryWindow != nullptr) {
        HistoryWindow->Added();
    }
}

void TfrmMain::mnuHistoryClick() {
    THistoryStore* store = Environment.History != nullptr ? Environment.History->Store() : nullptr;
    if (store == nullptr) {
        return;
    }
    if (HistoryWindow == nullptr) {
        HistoryWindow = new TfrmHistory(
            THistoryWindowEnvironment{*store, [this](std::int64_t id) { return Unread.Contains(id); },
                                      [this](std::int64_t id) {
                                          if (Unread.Opened(id)) {
                                              UnreadChanged();
                                          }
                                      },
                                      [this](const THistoryEntry& entry) { ReplyTo(entry); }},
            this);
    }
    QStringList computers;
    for (int item = 0; item < cmbComputers->count(); ++item) {
        computers << cmbComputers->itemText(item);
    }
    HistoryWindow->Open(computers);
}

void TfrmMain::ReplyTo(const THistoryEntry& entry) {
    if (entry.ComputerBytes == HistoryToAll) {
        cmbComputers->setEditText({});  // an empty target sends to every computer
    } else if (const int item = cmbComputers->findData(QByteArray::fromStdString(entry.ComputerBytes));
               item >= 0) {
        cmbComputers->setCurrentIndex(item);  // a listed computer is written to at its own bytes
    } else {
        cmbComputers->setEditText(QString::fromStdString(entry.Computer));
    }
    BringForward();
    memoOutMemo->setFocus();
}

void TfrmMain::BringForward() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void TfrmMain::UnreadChanged() {
    if (Tray != nullptr) {
        Tray->SetUnread(Unread.Count());
    }
    if (HistoryWindow != nullptr) {
        HistoryWindow->UnreadChanged();
    }
}

void TfrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Activated, the window shows its memo to the user: everything that came meanwhile counts as seen.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && Unread.Seen()) {
        UnreadChanged();
    }
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // With CloseToTray the close box only hides the window, and the program goes on receiving; Exit ends it,
    // and so does the close box where the desktop has no tray to find the window in again.
    if (!Leaving && Environment.Desktop.CloseToTray && Tray != nullptr && Tray->InTray()) {
        event->ignore();
        hide();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) {
        QCoreApplication::quit();  // the program's end, not its last window's (see main)
    }
}
