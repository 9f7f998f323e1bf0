// The network on Windows: the system's own mailslots. The system names the computer, opens and guards the
// mailbox and sends to the network itself, so there is nothing to set, open ahead or give up.
#include <windows.h>

#include <QCoreApplication>
#include <memory>

#include "messenger/transport/win32/Win32MailslotTransport.h"
#include "qtcore/NetworkBackend.h"

namespace {

class TMailslotBackend final : public TNetworkBackend {
public:
    TMailslotTransport& Transport() override { return Mailslots; }
    void OpenAhead() override {}
    std::string DropPrivileges() override { return {}; }
    // Windows itself refuses a computer name that another computer of the network holds.
    std::string CheckComputerName() const override { return {}; }
    std::string LastError() const override { return {}; }
    bool ReachesOtherComputers() override { return true; }
    // Windows's mailslots carry no more to another computer (only a memo to this one may be longer).
    std::size_t LongestMemoBytes(const std::string& /*box*/) const override { return WindowsMaxMessageSize; }
    // The ports, capabilities, interfaces and firewall rules the doctor reads are a Linux computer's.
    TNetworkDiagnosis Diagnose() const override {
        TNetworkDiagnosis diagnosis;
        diagnosis.Findings.push_back(
            {QCoreApplication::translate("NetworkBackend", "network"),
             TNetworkFinding::TStatus::NotApplicable,
             QCoreApplication::translate(
                 "NetworkBackend",
                 "Windows's own mailslots carry the memos: the system holds the ports and "
                 "sends on every network")});
        return diagnosis;
    }

private:
    TWin32MailslotTransport Mailslots;
};

}  // namespace

TNetworkSetup SetUpNetwork(const QString& /*settingsPath*/) {
    TNetworkSetup setup;
    setup.System = MakeLocalSystem();
    setup.Backend = std::make_unique<TMailslotBackend>();
    // Memos are written and read in the system's ANSI code page, as every other Windows program does.
    const UINT codePage = GetACP();
    setup.Text = TWireText::ForName(codePage == CP_UTF8 ? QStringLiteral("UTF-8")
                                                        : QStringLiteral("windows-%1").arg(codePage))
                     .value_or(TWireText());
    return setup;
}
