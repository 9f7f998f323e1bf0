// The main window's behaviour: creating the messenger, sending, showing arrivals, the dialogs.
#include "app/uniKestrin.h"

#include <QApplication>
#include <QByteArray>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QTextEdit>
#include <utility>

#include "app/HistoryWindow.h"
#include "app/MemoNotifier.h"
#include "app/OutgoingLines.h"
#include "app/TrayIcon.h"
#include "messenger/uniMessenger.h"
#include "qtcore/HistoryRecorder.h"
#include "qtcore/QtUiQueue.h"
#include "qtcore/SendFailureText.h"
#include "settings/SettingsStore.h"
#include "settings/StoredInteger.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/FixedLayout.h"

namespace {

/// The window a session's end says goodbye for: that end comes from a signal or an exit, with no window
/// at hand, and it may come while the window is still being made.
TfrmMain* Living = nullptr;

}  // namespace

TfrmMain::TfrmMain(const TMainWindowEnvironment& environment, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      Environment(environment),
      UiQueue(std::make_unique<TQtUiQueue>(this)),
      Notifier(std::make_unique<TMemoNotifier>(*this, [this] { mnuHistoryClick(); })) {
    Living = this;
    Environment.Window = this;
    setObjectName("frmMain");
    setWindowTitle("Kestrin v1.0");
    setFont(KestrinFont());
    BuildControls();
    BuildMenu();
    SetUpHistory();
    setFixedSize(sizeHint());
    move(225, 145);
    btnSendAll->setFocus();
    try {
        FormCreate();
    } catch (const std::exception& failure) {
        ShowDefaultError(QString::fromLocal8Bit(failure.what()));
    }
}

TfrmMain::~TfrmMain() {
    // The History window asks this one what is unread until it is gone.
    delete std::exchange(HistoryWindow, nullptr);
    if (Environment.History != nullptr) {
        // What came in the last turn is written (and shown, to a window nobody sees any more).
        Environment.History->Flush();
        Environment.History->OnProblem = nullptr;
    }
    try {
        FormDestroy();
    } catch (const std::exception& failure) {
        ShowDefaultError(QString::fromLocal8Bit(failure.what()));
    }
    OwnedMessenger.reset();
    Environment.Messenger = nullptr;
    if (Environment.Window == this) {
        Environment.Window = nullptr;
    }
    if (Living == this) {
        Living = nullptr;
    }
}

void TfrmMain::FormCreate() {
    OwnedMessenger = std::make_unique<TMessenger>(
        TMessengerEnvironment{Environment.Transport, *UiQueue, Environment.System});
    Environment.Messenger = OwnedMessenger.get();
    OwnedMessenger->SetPresenceTiming(Environment.Presence);
    OwnedMessenger->OnNewLine = [this](TMainMessenger& sender, const std::string& origin,
                                       const std::string& time, const std::string& line) {
        MyMessengerNewLine(sender, origin, time, line);
    };
    OwnedMessenger->OnUserChange = [this](TMainMessenger& sender, const std::string& name,
                                          TUserChange change) {
        MyMessengerUserListChange(sender, name, change);
    };
    OwnedMessenger->OnNewMemo = [this](TMainMessenger& sender, const std::string& origin,
                                       const std::string& time, const TStringList& lines) {
        MyMessengerNewMemo(sender, origin, time, lines);
    };
    OwnedMessenger->OnError = [this](TMainMessenger& sender, const std::string& message) {
        MyMessengerError(sender, message);
    };
    OwnedMessenger->SetBoxName("MB303");
    OwnedMessenger->Activate();
    LoadAll();
    if (!Environment.SettingsProblems.isEmpty()) {
        TellOnce(tr("Some settings in Kestrin.conf cannot be used as they stand:") + "\n" +
                 Environment.SettingsProblems.join('\n'));
    }
}

void SayMainWindowGoodbye() {
    if (Living != nullptr) {
        Living->FormDestroy();
    }
}

void TfrmMain::FormDestroy() {
    // Also the goodbye at a session's end, said before the window goes: the second time, nothing is left
    // to say (and a copy that never opened its mailbox has nobody to leave).
    if (OwnedMessenger != nullptr && OwnedMessenger->Active()) {
        OwnedMessenger->Deactivate();
    }
}

void TfrmMain::btnSendAllClick() {
    SendMemo({}, DisplayedLines(*memoOutMemo, Environment.Text));
}

void TfrmMain::btnSendOutMemoClick() {
    SendMemo(TargetName(), DisplayedLines(*memoOutMemo, Environment.Text));
}

void TfrmMain::SendMemo(const std::string& target, const TStringList& lines) {
    Sending = true;
    const auto failure =
        target.empty() ? OwnedMessenger->SendMemoToAll(lines) : OwnedMessenger->SendMemoTo(target, lines);
    Sending = false;
    if (!failure) {
        KeepSent(target, lines);
    }
    ShowSendFailure(failure);
}

void TfrmMain::MyMessengerError(TMainMessenger&, const std::string& ErrorMsg) {
    if (Sending) {
        return;  // told with the failure SendMemo shows
    }
    QString text = QString::fromStdString(ErrorMsg);
    if (const std::string why = Environment.WhyNoMailbox ? Environment.WhyNoMailbox() : std::string();
        ErrorMsg == "Could not Create Mail Slot" && !why.empty()) {
        text += ": " + QString::fromStdString(why) + ".\n" + tr("This window sends, but receives nothing.");
    }
    TellOnce(text);
}

void TfrmMain::TellOnce(const QString& text) {
    if (Told.contains(text)) {
        return;
    }
    Told.insert(text);
    QMetaObject::invokeMethod(this, [text] { ShowPlainMessage(text); }, Qt::QueuedConnection);
}

void TfrmMain::ShowSendFailure(const std::optional<TSendFailure>& failure) {
    // The outgoing area is left as it is, so the memo can be shortened rather than typed again.
    if (failure) {
        ShowPlainMessage(SendFailureText(*failure));
    }
}

std::string TfrmMain::TargetName() const {
    return Peers.Target(cmbComputers->currentText(), OwnedMessenger->Users());
}

void TfrmMain::ShowArrival(const TArrival& arrival) {
    // On disk before it is on the screen: a memo read is a memo kept.
    if (Environment.History == nullptr) {
        ArrivalKept(arrival, 0);
        return;
    }
    Environment.History->Received(arrival, [this, arrival](std::int64_t id) { ArrivalKept(arrival, id); });
}

void TfrmMain::ArrivalKept(const TArrival& arrival, std::int64_t id) {
    if (!isActiveWindow()) {
        Unread.Arrived(id);
    }
    if (Burst.Add(arrival)) {
        QMetaObject::invokeMethod(this, &TfrmMain::ShowLatestArrival, Qt::QueuedConnection);
    }
    if (HistoryWindow != nullptr) {
        HistoryWindow->Added();
    }
}

void TfrmMain::ShowLatestArrival() {
    if (Burst.Empty()) {
        return;
    }
    const TArrivalBurst burst = std::exchange(Burst, {});
    const TArrival& arrival = burst.Last();
    if (Environment.PopUp) {
        if (isMinimized()) {
            showNormal();
        } else if (isHidden()) {
            show();  // from the tray, as from the task bar
        }
        // Raised, never activated: a message must not steal the focus from what the user is typing.
        raise();
    }
    QApplication::beep();
    const QString text = arrival.Shown.join('\n');
    ShowInLabel(*lblOrigin, arrival.Origin.Shown);
    ShowInLabel(*lblTime, arrival.ShownTime);
    memoInMemo->setPlainText(text);
    // A window in front is seen; one behind others, minimised or on another desktop is told of it.
    if (Notify && !isActiveWindow()) {
        Notifier->Show(burst.Summary(), text);
    }
    if (!isActiveWindow()) {
        UnreadChanged();  // an active window has seen the burst: nothing of it became unread
    }
}

void TfrmMain::MyMessengerNewLine(TMainMessenger&, const std::string& Origin, const std::string& Time,
                                  const std::string& Line) {
    ShowArrival(Peers.Line(Origin, Time, Line));
}

void TfrmMain::MyMessengerNewMemo(TMainMessenger&, const std::string& Origin, const std::string& Time,
                                  const TStringList& MsgLines) {
    ShowArrival(Peers.Memo(Origin, Time, MsgLines));
}

void TfrmMain::MyMessengerUserListChange(TMainMessenger&, const std::string& Name, TUserChange Change) {
    // What the user typed stays, whichever item comes or goes under it.
    const QString typed = cmbComputers->currentText();
    const QByteArray bytes = QByteArray::fromStdString(Name);
    if (Change == TUserChange::Joined) {
        cmbComputers->addItem(Peers.Name(Name).Shown, bytes);
    } else if (const int item = cmbComputers->findData(bytes); item >= 0) {
        cmbComputers->removeItem(item);
    }
    cmbComputers->setEditText(typed);
}

void TfrmMain::btnClearOutMemoClick() {
    memoOutMemo->clear();
}

void TfrmMain::btnClearInMemoClick() {
    memoInMemo->clear();
}

void TfrmMain::mnuExitClick() {
    Leaving = true;
    close();
    // A window that lives in the tray may never have been shown, and then closing it ends nothing.
    QCoreApplication::quit();
}

void TfrmMain::mnuOptionsClick() {
    ShowDialog(Environment.Options, "Error of creating Form of Options in  TfrmMain.mnuOptionsClick");
}

void TfrmMain::mnuAboutClick() {
    ShowDialog(Environment.About, "Error of creating Form of About Box");
}

void TfrmMain::ShowDialog(const TDialogFactory& factory, const QString& failureText) {
    if (!factory) {
        return;
    }
    std::unique_ptr<QDialog> dialog;
    try {
        dialog = factory(*this);
        dialog->exec();
    } catch (const std::exception&) {
        ShowPlainMessage(failureText);
    }
}

void TfrmMain::LoadAll() {
    try {
        const auto stored = Environment.Settings.ReadPopUp();
        Environment.PopUp = stored ? PopUpFromStoredText(*stored) : true;
        const auto notify = Environment.Settings.ReadNotify();
        Notify = notify ? PopUpFromStoredText(*notify) : true;
    } catch (const std::exception&) {
        ShowPlainMessage("Error in TfrmMain.LoadAll");
    }
}

void TfrmMain::SaveAll() {
    try {
        Environment.Settings.WritePopUp(PopUpToStoredText(Environment.PopUp));
    } catch (const std::exception&) {
        ShowPlainMessage("Error in TfrmMain.SaveAll");
    }
}
