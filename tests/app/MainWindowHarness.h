// The main window on the simulated LAN, as the window tests open it, and its controls found by name.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <memory>

#include "app/uniKestrin.h"
#include "qtcore/HistoryRecorder.h"
#include "settings/ini/IniSettingsStore.h"
#include "tests/support/KeyboardRound.h"
#include "tests/support/RecordedMessages.h"
#include "tests/support/TestPeer.h"

// A main window on the simulated LAN, with a second computer to talk to and failures recorded, not shown.
// The window goes first, before the LAN and the recorder.
class TMainWindowHarness : public TRecordedMessages {
public:
    TfrmMain& Open(const TWireText& text = {}) {
        const auto why = [this] { return Why.toStdString(); };
        Window = std::make_unique<TfrmMain>(TMainWindowEnvironment{
            Own, System, Settings, Published, Messenger, PopUp, text, TPresenceTiming::Immediate(),
            QStringList{}, why, Options, About, Recorder.get(), Desktop});
        return *Window;
    }

    /// From now on the window keeps its history in the test's folder.
    void KeepHistory() {
        Recorder = std::make_unique<THistoryRecorder>(THistorySettings{}, HistoryPath);
    }

    /// Sends raw message text from the other computer to this window's computer.
    void Deliver(const std::string& text) { SendRaw(Peer, "\\\\WS01\\mailslot\\MB303", text); }

    /// The computer that each datagram written so far whose text holds `needle` went to.
    QStringList SentTo(const std::string& needle) const {
        QStringList targets;
        for (const auto& datagram : Lan.Traffic())
            if (datagram.Bytes.find(needle) != std::string::npos)
                targets << QString::fromStdString(datagram.Path).section('\\', 2, 2);
        return targets;
    }

    TMemoryLan Lan;
    TMemoryComputer& Own = Lan.AddComputer("WS01");
    TMemoryComputer& Peer = Lan.AddComputer("WS02");
    TFixedSystem System{"WS01"};
    QTemporaryDir Dir;
    QString Path = Dir.filePath("Kestrin.conf");
    TIniSettingsStore Settings{Path};
    QString Why;                    ///< what the transport says when the mailbox cannot be opened
    TfrmMain* Published = nullptr;  // the names the window keeps for the program to publish
    TMessenger* Messenger = nullptr;
    bool PopUp = false;
    TDialogFactory Options, About;  ///< what the menus show
    std::filesystem::path HistoryPath = Dir.filePath("history.sqlite").toStdString();
    std::unique_ptr<THistoryRecorder> Recorder;  ///< none unless KeepHistory()
    TDesktopSettings Desktop{false, false};
    std::unique_ptr<TfrmMain> Window;
};

// The window's controls, found by the names its layout gives them.
struct TMainWindowUi {
    QWidget& Window;
    QPushButton* btnSendAll = Named<QPushButton>(Window, "btnSendAll");
    QPushButton* btnSendOutMemo = Named<QPushButton>(Window, "btnSendOutMemo");
    QPushButton* btnClearOutMemo = Named<QPushButton>(Window, "btnClearOutMemo");
    QPushButton* btnClearInMemo = Named<QPushButton>(Window, "btnClearInMemo");
    QTextEdit* memoOutMemo = Named<QTextEdit>(Window, "memoOutMemo");
    QTextEdit* memoInMemo = Named<QTextEdit>(Window, "memoInMemo");
    QComboBox* cmbComputers = Named<QComboBox>(Window, "cmbComputers");
    QLabel* lblOrigin = Named<QLabel>(Window, "lblOrigin");
    QLabel* lblTime = Named<QLabel>(Window, "lblTime");
    QAction* mnuOptions = Named<QAction>(Window, "mnuOptions");
    QAction* mnuAbout = Named<QAction>(Window, "mnuAbout");
};
