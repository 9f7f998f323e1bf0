// The main window: the list of computers, the outgoing and incoming areas, and the menu.
#pragma once

#include <QMainWindow>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/ArrivalBurst.h"
#include "app/DesktopSettings.h"
#include "app/UnreadMemos.h"
#include "messenger/Presence.h"
#include "messenger/StringList.h"
#include "qtcore/PeerText.h"
#include "qtcore/WireText.h"

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class TfrmHistory;
class THistoryRecorder;
class TMainMessenger;
class TMemoNotifier;
struct TSendFailure;
class TMessenger;
class TMailslotTransport;
class TSettingsStore;
class TSystemServices;
class TTrayIcon;
class TUiThreadQueue;
struct THistoryEntry;
enum class TUserChange;

class TfrmMain;

/// Makes a modal dialog owned by the main window (Options, About); may throw.
using TDialogFactory = std::function<std::unique_ptr<QDialog>(TfrmMain& owner)>;

/// What the window needs from outside; all of it must outlive the window.
struct TMainWindowEnvironment {
    TMailslotTransport& Transport;
    TSystemServices& System;
    TSettingsStore& Settings;
    /// The names the program publishes, which the window keeps: itself from before FormCreate runs until
    /// it is gone, its messenger while it has one, and whether an arrival brings the window back and raises
    /// it (false until LoadAll).
    TfrmMain*& Window;
    TMessenger*& Messenger;
    bool& PopUp;
    TWireText Text{};            ///< the office's code page, for what the window shows and sends
    TPresenceTiming Presence{};  ///< when the messenger answers and announces itself
    /// The settings file's values that cannot be used as they stand, told once when the window opens.
    QStringList SettingsProblems{};
    /// Why the own mailbox could not be opened, in words a user can act on; empty when unknown.
    std::function<std::string()> WhyNoMailbox{};
    TDialogFactory Options{};  ///< what the Options menu shows; nothing when empty
    TDialogFactory About{};    ///< what the About menu shows; nothing when empty
    /// Where what arrives is kept before it is shown, and what is sent is kept; null when nothing is kept.
    THistoryRecorder* History = nullptr;
    /// The tray icon and the close box; no icon unless asked for.
    TDesktopSettings Desktop{false, false};
};

class TfrmMain final : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmMain(const TMainWindowEnvironment& environment, QWidget* parent = nullptr);
    ~TfrmMain() override;

    /// Stores the pop-up flag; the Options dialog's Ok calls it.
    void SaveAll();
    /// Shows the window at start, or with `minimized` leaves it in the tray (minimised where there is none).
    void ShowAtStart(bool minimized);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend void SayMainWindowGoodbye();

    QLabel* lblOriginName = nullptr;
    QLabel* lblTimeName = nullptr;
    QPushButton* btnSendAll = nullptr;
    QTextEdit* memoInMemo = nullptr;
    QTextEdit* memoOutMemo = nullptr;
    QPushButton* btnSendOutMemo = nullptr;
    QComboBox* cmbComputers = nullptr;
    QLabel* lblOrigin = nullptr;
    QLabel* lblTime = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuOptions = nullptr;
    QPushButton* btnClearOutMemo = nullptr;
    QPushButton* btnClearInMemo = nullptr;
    QLabel* lblOutgoing = nullptr;
    QLabel* lblIncoming = nullptr;
    QMenu* mnuMessage = nullptr;
    QAction* mnuSendTo = nullptr;
    QAction* mnuSendAll = nullptr;
    QAction* mnuHistory = nullptr;

    void MyMessengerNewLine(TMainMessenger& Sender, const std::string& Origin, const std::string& Time,
                            const std::string& Line);
    void FormCreate();
    /// Deactivates the messenger; the second time, nothing is left to say.
    void FormDestroy();
    void btnSendAllClick();
    /// One computer joined the list or left it: one item changes, however long the list.
    void MyMessengerUserListChange(TMainMessenger& Sender, const std::string& Name, TUserChange Change);
    void MyMessengerNewMemo(TMainMessenger& Sender, const std::string& Origin, const std::string& Time,
                            const TStringList& MsgLines);
    void btnSendOutMemoClick();
    void mnuExitClick();
    void mnuAboutClick();
    void LoadAll();
    void mnuOptionsClick();
    void btnClearOutMemoClick();
    void btnClearInMemoClick();
    /// A failure of the messenger: a mailbox that could not be opened, a datagram that could not be sent.
    void MyMessengerError(TMainMessenger& Sender, const std::string& ErrorMsg);

    void BuildControls();
    void NameForScreenReaders();
    void BuildMenu();
    void ShowArrival(const TArrival& arrival);
    /// The arrival is in the history (as row `id`, 0 when it could not be kept): it joins the burst to show.
    void ArrivalKept(const TArrival& arrival, std::int64_t id);
    void ShowLatestArrival();
    void mnuHistoryClick();
    /// Reply in the History window: the memo's computer becomes the target, the cursor goes to the outgoing area.
    void ReplyTo(const THistoryEntry& entry);
    /// In front and active, from wherever it was: the tray, minimised, behind others.
    void BringForward();
    void UnreadChanged();
    /// Hands the window's history, unread count and tray to their owners; part of the constructor.
    void SetUpHistory();
    std::string TargetName() const;
    /// Says in the plain message box that a memo was not sent because it is too long, if so.
    void ShowSendFailure(const std::optional<TSendFailure>& failure);
    void ShowDialog(const TDialogFactory& factory, const QString& failureText);
    /// Says `text` in the plain message box once the event loop runs, and never twice in a run: a window
    /// that looks normal and receives nothing would be a failure told as success, and a box at every
    /// failed answer would bury the user.
    void TellOnce(const QString& text);
    void SendMemo(const std::string& target, const TStringList& lines);
    /// Keeps a memo that went out in the history.
    void KeepSent(const std::string& target, const TStringList& lines);

    TMainWindowEnvironment Environment;
    std::unique_ptr<TUiThreadQueue> UiQueue;
    std::unique_ptr<TMessenger> OwnedMessenger;
    std::unique_ptr<TMemoNotifier> Notifier;
    bool Notify =
        false;  ///< whether an arrival behind other windows is told as a notification; set by LoadAll
    TPeerText Peers{Environment.Text};  ///< what arrives, decoded and made safe once
    /// The arrivals not shown yet: a burst is shown once, as its last message, when the event loop comes
    /// round, so that a flood of memos costs one layout, one beep and one notification per turn.
    TArrivalBurst Burst;
    TUnreadMemos Unread;
    TfrmHistory* HistoryWindow = nullptr;  ///< made when first opened; a child of this window
    std::unique_ptr<TTrayIcon> Tray;
    QSet<QString> Told;
    bool Sending = false;     ///< a failure of the memo being sent is told by its own message box
    bool Leaving = false;     ///< Exit was chosen: closing ends the program even with CloseToTray
};

/// The goodbye at a session's end: the living main window's messenger leaves, when there is one and it is
/// active. Safe to call at any time, the second time included, and while the window is still being made.
void SayMainWindowGoodbye();
