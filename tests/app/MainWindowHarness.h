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
#include "tests/support/RecordedMessages.h"
#include "tests/support/TestPeer.h"

// A main window on the simulated LAN, with a second computer to talk to and failures recorded, not shown.
// The window goes first, before the LAN and the recorder.
class TMainWindowHarness : public TRecordedMessages {
public:
    TfrmMain& Open(const TWireText& text = {}) {
        Window = std::make_unique<TfrmMain>(TMainWindowEnvironment{Own,
                                                                   System,
                                                                   Settings,
                                                                   Published,
                                                                   Messenger,
                                                                   PopUp,
                                                                   text,
                                                                   TPresenceTiming::Immediate(),
                                                                   {},
                                                                   [this] { return Why.toStdString(); },
                                                                   Options,
                                                                   About,
                                                                   Recorder.get(),
                                                                   Desktop});
        return *Window;
    }

    /// From now on the window keeps its history in the test's folder.
    void KeepHistory() {
        Recorder = std::make_unique<THistoryRecorder>(THistorySettings{}, HistoryPath, &Turns);
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
    QObject Turns;  ///< runs the recorder's writes; what it still has queued goes with the harness
    std::unique_ptr<THistoryRecorder> Recorder;  ///< none unless KeepHistory()
    TDesktopSettings Desktop{false, false};
    std::unique_ptr<TfrmMain> Window;
};

// The window's controls, found by the names its layout gives them.
struct TMainWindowUi {
    explicit TMainWindowUi(QWidget& window) : Window(window) {}

    template <class T>
    T* Find(const char* name) const {
        T* const control = Window.findChild<T*>(name);
        if (control == nullptr)
            qFatal("The window has no control %s", name);
        return control;
    }

    QWidget& Window;
    QPushButton* btnSendAll = Find<QPushButton>("btnSendAll");
    QPushButton* btnSendOutMemo = Find<QPushButton>("btnSendOutMemo");
    QPushButton* btnClearOutMemo = Find<QPushButton>("btnClearOutMemo");
    QPushButton* btnClearInMemo = Find<QPushButton>("btnClearInMemo");
    QTextEdit* memoOutMemo = Find<QTextEdit>("memoOutMemo");
    QTextEdit* memoInMemo = Find<QTextEdit>("memoInMemo");
    QComboBox* cmbComputers = Find<QComboBox>("cmbComputers");
    QLabel* lblOrigin = Find<QLabel>("lblOrigin");
    QLabel* lblTime = Find<QLabel>("lblTime");
    QAction* mnuOptions = Find<QAction>("mnuOptions");
    QAction* mnuAbout = Find<QAction>("mnuAbout");
};
