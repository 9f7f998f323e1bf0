// One copy of the messenger on the UDP transport, set up from the settings file and the command line.
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "cli/CommandLine.h"
#include "messenger/SystemServices.h"
#include "messenger/transport/udp/UdpTransport.h"
#include "messenger/uniMessenger.h"
#include "qtcore/QtUiQueue.h"
#include "qtcore/WireText.h"

class TCliSession {
public:
    TCliSession(const TCliCommand& command, QObject* context);

    /// Opens the own mailbox's ports ahead of Activate, before any thread starts (see DropCapabilities).
    void OpenSockets();
    /// Opens the own mailbox and announces this computer; false with the reason when it cannot.
    bool Activate(QString& error);
    /// Asks the network once whether another computer answers to this one's name, or nothing here does;
    /// the warning, or empty.
    std::string NameConflict() const;
    /// The problems found in the settings file (each value fell back to its default).
    const QStringList& SettingsProblems() const { return Problems; }
    /// The largest memo text, in bytes, that one datagram carries under this box name.
    std::size_t MaxMessageSize() const;
    /// Whether a memo can leave this computer now (some network to send on is up).
    bool ReachesOtherComputers() { return Transport->ReachesOtherComputers(); }

    /// The office's code page, for what is typed and what is shown.
    const TWireText& Text() const { return WireText; }
    const TUdpSettings& Udp() const { return UdpSettings; }
    /// Whether the computer name was set in the settings file rather than taken from the host name.
    bool ComputerNameSet() const { return NameSet; }
    TMessenger& Messenger() { return *Component; }
    TSystemServices& System() { return *LocalSystem; }

private:
    QStringList Problems;
    TWireText WireText;
    TUdpSettings UdpSettings;
    bool NameSet = false;
    std::unique_ptr<TSystemServices> LocalSystem;
    std::unique_ptr<TUdpTransport> Transport;
    TQtUiQueue Queue;
    std::unique_ptr<TMessenger> Component;  ///< last, so it leaves before what it uses
};
