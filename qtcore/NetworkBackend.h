// The network this platform's programs talk over, set up once at start: the mailslot transport that carries
// the memos, the computer it runs on, the office's code page, and what the programs ask of the transport
// besides the six mailslot calls. Linux: UDP from the settings file's [Network] section; Windows: the
// system's own mailslots, names and ANSI code page, with no settings at all.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "messenger/MailslotTransport.h"
#include "messenger/Presence.h"
#include "messenger/SystemServices.h"
#include "messenger/transport/udp/UdpSettings.h"
#include "qtcore/WireText.h"

class TNetworkBackend {
public:
    virtual ~TNetworkBackend() = default;

    virtual TMailslotTransport& Transport() = 0;
    /// Opens the own mailbox ahead of the first Activate, while the process may still open privileged ports.
    /// A failure is told by that Activate.
    virtual void OpenAhead() = 0;
    /// Gives up for good the privileges that only opening needed; empty on success, else why it failed. Must
    /// run before the program starts any thread.
    virtual std::string DropPrivileges() = 0;
    /// Asks the network once whether another computer answers to this one's name, or nothing here does; the
    /// warning for the user, or empty.
    virtual std::string CheckComputerName() const = 0;
    /// Why the last own mailbox could not be opened, in words a user can act on; empty when that is unknown.
    virtual std::string LastError() const = 0;
    /// Whether a memo can leave this computer now (some network to send on is up).
    virtual bool ReachesOtherComputers() = 0;
    /// The own mailbox's receive buffer and the system's limit on it, where the backend has one to tell.
    virtual std::optional<TReceiveRoom> ReceiveBuffer() const { return std::nullopt; }
};

struct TNetworkSetup {
    std::unique_ptr<TSystemServices> System;
    std::unique_ptr<TNetworkBackend> Backend;
    TWireText Text;
    QStringList Problems;  ///< one sentence per setting that was unusable and fell back to its default
    bool ComputerNameSet = false;  ///< the computer name came from the settings rather than the system
    TUdpSettings Udp;  ///< the [Network] values, which the console client's doctor reports (Linux)
    /// When the copy answers and announces itself: the defaults, with the settings file's RefreshMinutes.
    TPresenceTiming Presence;
};

/// The settings file at `settingsPath`, or the user's own when it is empty (Linux; Windows has none).
TNetworkSetup SetUpNetwork(const QString& settingsPath = {});
