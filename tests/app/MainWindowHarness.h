// A main window on the simulated LAN, with a second computer to talk to and failures recorded, not shown.
#pragma once

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ErrorDisplay.h"
#include "FixedSystem.h"
#include "IniSettingsStore.h"
#include "MemoryComputer.h"
#include "MemoryLan.h"
#include "MessageText.h"
#include "uniKestrin.h"

class TMainWindowHarness {
public:
    explicit TMainWindowHarness(QString settingsPath = {}) {
        SetMessagePresenter([this](TMessageKind kind, const QString& text) {
            Messages << (kind == TMessageKind::DefaultError ? "error: " : "message: ") + text;
        });
        Path = settingsPath.isEmpty() ? Dir.filePath("Kestrin.conf") : settingsPath;
        Settings = std::make_unique<TIniSettingsStore>(Path);
        PeerBox = Peer.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
    }
    ~TMainWindowHarness() {
        Window.reset();
        SetMessagePresenter(nullptr);
    }

    TfrmMain& Open() {
        Window = std::make_unique<TfrmMain>(TMainWindowEnvironment{Own, System, *Settings});
        return *Window;
    }

    /// Sends raw message text from the peer computer to this window's computer.
    void Deliver(const std::string& text) {
        const auto handle = Peer.CreateFile("\\\\WS01\\mailslot\\MB303");
        Peer.WriteFile(handle, text);
        Peer.CloseHandle(handle);
    }

    void DeliverMemo(const std::string& origin, const std::string& time, const TStringList& lines) {
        TStringList out;
        MessageText::AppendMemo(out, time, origin, lines);
        Deliver(MessageText::Join(out));
    }

    /// The datagrams written so far whose text holds `needle`.
    std::vector<TMemoryDatagram> Sent(const std::string& needle) const {
        std::vector<TMemoryDatagram> found;
        for (const auto& datagram : Lan.Traffic()) {
            if (datagram.Bytes.find(needle) != std::string::npos) {
                found.push_back(datagram);
            }
        }
        return found;
    }

    /// Closes and destroys the window as the program's main does after its loop ends.
    void Shutdown() {
        QTRY_VERIFY(!Window->isVisible());
        Window.reset();
    }

    TMemoryLan Lan;
    TMemoryComputer& Own = Lan.AddComputer("WS01");
    TMemoryComputer& Peer = Lan.AddComputer("WS02");
    TMailslotHandle PeerBox = InvalidMailslotHandle;
    TFixedSystem System{"WS01"};
    QTemporaryDir Dir;
    QString Path;
    std::unique_ptr<TIniSettingsStore> Settings;
    std::unique_ptr<TfrmMain> Window;
    QStringList Messages;
};
