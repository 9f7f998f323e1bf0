// One copy of the messenger on this platform's network, set up from the settings file and the command line.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <thread>

#include "cli/CommandLine.h"
#include "cli/SessionHistory.h"
#include "messenger/SystemServices.h"
#include "messenger/uniMessenger.h"
#include "qtcore/NetworkBackend.h"
#include "qtcore/PeerText.h"
#include "qtcore/QtUiQueue.h"
#include "qtcore/WireText.h"

class TCliSession {
public:
    TCliSession(const TCliCommand& command, QObject* context);

    /// Opens the own mailbox ahead of Activate, before any thread starts (see DropPrivileges).
    void OpenSockets();
    /// Gives up the privileges that only opening needed; empty, or why it failed.
    std::string DropPrivileges() { return Network.Backend->DropPrivileges(); }
    /// Opens the own mailbox and announces this computer; false with the reason when it cannot.
    bool Activate(QString& error);
    /// Asks the network once whether another computer answers to this one's name, or nothing here does;
    /// the warning, or empty.
    std::string NameConflict() const;
    /// Asks the same off this thread, so that arrivals are not kept waiting meanwhile, and hands a warning
    /// to `warn` on this thread.
    void CheckNameInBackground(std::function<void(const std::string&)> warn);
    /// The problems found in the settings file (each value fell back to its default).
    QStringList SettingsProblems() const { return Network.Problems + Kept.SettingsProblems(); }
    /// Whether a memo can leave this computer now (some network to send on is up).
    bool ReachesOtherComputers() { return Network.Backend->ReachesOtherComputers(); }
    /// The own mailbox's receive buffer, while it is open (Linux).
    std::optional<TReceiveBuffer> ReceiveBuffer() const { return Network.Backend->ReceiveBuffer(); }
    /// The longest message text of a memo to the mailbox that any computer takes from this one.
    std::size_t LongestMemoBytes() const { return Network.Backend->LongestMemoBytes(Component->BoxName()); }
    /// What may keep this computer from the others, looked at before OpenSockets (see TNetworkBackend).
    TNetworkDiagnosis Diagnose() const { return Network.Backend->Diagnose(); }

    /// The office's code page, for what is typed and what is shown.
    const TWireText& Text() const { return Network.Text; }
    /// What arrives, decoded and made safe to show in that code page.
    const TPeerText& Peers() const { return PeerText; }
    /// Whether the computer name was set in the settings file rather than taken from the host name.
    bool ComputerNameSet() const { return Network.ComputerNameSet; }
    TMessenger& Messenger() { return *Component; }
    /// Where what this copy receives and sends is kept.
    TSessionHistory& History() { return Kept; }
    TSystemServices& System() { return *Network.System; }

private:
    TNetworkSetup Network;
    TPeerText PeerText{Network.Text};
    TQtUiQueue Queue;
    TSessionHistory Kept;
    std::unique_ptr<TMessenger> Component;  ///< leaves before what it uses
    std::jthread NameCheck;                 ///< last: joined before anything it uses goes
};
