// A main window on the simulated LAN, with a second computer to talk to and failures recorded, not shown.
#pragma once

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/uniKestrin.h"
#include "messenger/SystemServices.h"
#include "messenger/transport/memory/MemoryComputer.h"
#include "messenger/transport/memory/MemoryLan.h"
#include "settings/ini/IniSettingsStore.h"
#include "widgets/ErrorDisplay.h"

class TMainWindowHarness : public TSystemServices {
public:
    TMainWindowHarness() {
        SetMessagePresenter([this](TMessageKind kind, const QString& text) {
            Messages << (kind == TMessageKind::DefaultError ? "error: " : "message: ") + text;
        });
    }
    ~TMainWindowHarness() override {
        Window.reset();
        SetMessagePresenter(nullptr);
    }
    std::string ComputerName() override { return "WS01"; }
    std::string UserName() override { return "tester"; }
    std::string TimeStamp() override { return "14:05:09"; }

    TfrmMain& Open() {
        Window = std::make_unique<TfrmMain>(TMainWindowEnvironment{Own, *this, Settings});
        return *Window;
    }

    /// Sends raw message text from the other computer to this window's computer.
    void Deliver(const std::string& text) {
        const auto handle = Peer.CreateFile("\\\\WS01\\mailslot\\MB303");
        Peer.WriteFile(handle, text);
        Peer.CloseHandle(handle);
    }

    /// The computer that each datagram written so far whose text holds `needle` went to.
    QStringList SentTo(const std::string& needle) const {
        QStringList targets;
        for (const auto& datagram : Lan.Traffic()) {
            if (datagram.Bytes.find(needle) != std::string::npos) {
                targets << QString::fromStdString(datagram.Path).section('\\', 2, 2);
            }
        }
        return targets;
    }

    TMemoryLan Lan;
    TMemoryComputer& Own = Lan.AddComputer("WS01");
    TMemoryComputer& Peer = Lan.AddComputer("WS02");
    QTemporaryDir Dir;
    QString Path = Dir.filePath("Kestrin.conf");
    TIniSettingsStore Settings{Path};
    std::unique_ptr<TfrmMain> Window;
    QStringList Messages;
};
