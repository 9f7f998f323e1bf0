// The network this platform's programs talk over, set up once at start: the mailslot transport that carries
// the memos, the computer it runs on, the office's code page, and what the programs ask of the transport
// besides the six mailslot calls. Linux: UDP from the settings file's [Network] section; Windows: the
// system's own mailslots, names and ANSI code page, with no settings at all.
//
// This is the one face of a backend: the programs see only these plain values, never a backend's own
// headers (scripts/check-layering holds them to it), so a backend can be reshaped without touching them.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "messenger/MailslotTransport.h"
#include "messenger/Presence.h"
#include "messenger/SystemServices.h"
#include "qtcore/WireText.h"

/// One thing the backend looked at for `kestrin-cli doctor`, in words a user can act on.
struct TNetworkFinding {
    enum class TStatus {
        Ok,
        Note,           ///< worth knowing, but computers still see each other
        Problem,        ///< keeps computers from seeing each other
        NotApplicable,  ///< this backend has nothing of the kind to look at
    };
    QString Check;  ///< what was looked at: "UDP port 138", "capabilities", "interface"
    TStatus Status = TStatus::Ok;
    QString Text;
};

/// What the backend found, and what checks of the system around it need to know.
struct TNetworkDiagnosis {
    std::vector<TNetworkFinding> Findings;
    /// The UDP ports the backend receives on, for a look at the system's firewall; empty when it has none.
    std::vector<std::uint16_t> UdpPorts;
    /// Another copy of Kestrin on this computer has the own mailbox, so this one cannot open it.
    bool MailboxTakenByAnotherCopy = false;
};

/// The own mailbox's receive buffer, in bytes as the system counts them, and the most a program without
/// privileges may ask for; 0 where unknown.
struct TReceiveBuffer {
    std::size_t Granted = 0;
    std::size_t SystemLimit = 0;
};

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
    virtual std::optional<TReceiveBuffer> ReceiveBuffer() const { return std::nullopt; }
    /// The longest message text of a memo to `box` that any computer takes from this one: what the console
    /// reads at most for a memo.
    virtual std::size_t LongestMemoBytes(const std::string& box) const = 0;
    /// Looks at what may keep this computer from the others. Called before OpenAhead: afterwards the own
    /// sockets would stand in the way, and the privileges it looks at are given up.
    virtual TNetworkDiagnosis Diagnose() const = 0;
};

struct TNetworkSetup {
    std::unique_ptr<TSystemServices> System;
    std::unique_ptr<TNetworkBackend> Backend;
    TWireText Text;
    QStringList Problems;  ///< one sentence per setting that was unusable and fell back to its default
    bool ComputerNameSet = false;  ///< the computer name came from the settings rather than the system
    /// When the copy answers and announces itself: the defaults, with the settings file's RefreshMinutes.
    TPresenceTiming Presence;
};

/// The settings file at `settingsPath`, or the user's own when it is empty (Linux; Windows has none).
TNetworkSetup SetUpNetwork(const QString& settingsPath = {});
