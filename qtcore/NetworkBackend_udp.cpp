// The network on Linux: the UDP transport, set up from the settings file's [Network] section. The one file
// outside the transport that sees its headers: what the transport finds is put in the face's words here.
#include <QCoreApplication>
#include <algorithm>
#include <memory>

#include "messenger/transport/udp/Capabilities.h"
#include "messenger/transport/udp/NameResponder.h"
#include "messenger/transport/udp/UdpDiagnostics.h"
#include "messenger/transport/udp/UdpSettingsCheck.h"
#include "messenger/transport/udp/UdpTransport.h"
#include "qtcore/NetworkBackend.h"
#include "qtcore/NetworkSettings.h"

namespace {

using TStatus = TNetworkFinding::TStatus;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void TellPorts(const TUdpDiagnostics& found, std::vector<TNetworkFinding>& findings) {
    for (const auto& port : found.Ports) {
        const QString check = QCoreApplication::translate("NetworkBackend", "UDP port %1").arg(port.Number);
        const QString holder = port.Holder.empty()
                                   ? QCoreApplication::translate("NetworkBackend", "another program")
                                   : Q(port.Holder);
        const bool datagrams = &port == &found.Ports.front();
        if (!port.Held && !port.HeldByKestrin) {
            findings.push_back({check, TStatus::Ok, QCoreApplication::translate("NetworkBackend", "free")});
        } else if (port.HeldByKestrin) {
            findings.push_back(
                {check, TStatus::Ok,
                 QCoreApplication::translate("NetworkBackend",
                                             "held by Kestrin, which already runs on this computer")});
        } else if (!datagrams) {
            findings.push_back(
                {check, TStatus::Note,
                 QCoreApplication::translate("NetworkBackend", "held by %1, which answers the name queries")
                     .arg(holder)});
        } else if (found.Capabilities.Raw) {
            findings.push_back({check, TStatus::Note,
                                QCoreApplication::translate(
                                    "NetworkBackend", "held by %1; Kestrin reads its datagrams beside it")
                                    .arg(holder)});
        } else {
            findings.push_back(
                {check, TStatus::Problem,
                 QCoreApplication::translate("NetworkBackend",
                                             "held by %1; reading beside it needs the CAP_NET_RAW capability")
                     .arg(holder)});
        }
    }
}

void TellCapabilities(const TUdpDiagnostics& found, const TUdpSettings& settings,
                      std::vector<TNetworkFinding>& findings) {
    const QString check = QCoreApplication::translate("NetworkBackend", "capabilities");
    const QString remedy =
        QCoreApplication::translate(
            "NetworkBackend",
            "install Kestrin's package, or run: sudo setcap cap_net_bind_service,cap_net_raw+ep %1")
            .arg(QCoreApplication::applicationFilePath());
    if (settings.Port < 1024 && !found.Capabilities.BindService) {
        findings.push_back(
            {check, TStatus::Problem,
             QCoreApplication::translate("NetworkBackend",
                                         "no CAP_NET_BIND_SERVICE: ports below 1024 cannot be opened; %1")
                 .arg(remedy)});
    } else if (!found.Capabilities.Raw) {
        findings.push_back(
            {check, TStatus::Note,
             QCoreApplication::translate("NetworkBackend",
                                         "no CAP_NET_RAW: Kestrin cannot run beside Samba's nmbd; %1")
                 .arg(remedy)});
    } else {
        findings.push_back(
            {check, TStatus::Ok,
             QCoreApplication::translate("NetworkBackend",
                                         "CAP_NET_BIND_SERVICE and CAP_NET_RAW, given up once the ports are "
                                         "open")});
    }
}

void TellInterfaces(const TUdpDiagnostics& found, std::vector<TNetworkFinding>& findings) {
    const QString check = QCoreApplication::translate("NetworkBackend", "interface");
    bool any = false;
    for (const auto& report : found.Interfaces) {
        const auto& network = report.Interface;
        const QString where = Q(network.Name) + " " + Q(FormatIpv4(network.Address));
        if (report.Skipped.empty()) {
            any = true;
            findings.push_back({check, TStatus::Ok,
                                QCoreApplication::translate("NetworkBackend", "%1, broadcast %2")
                                    .arg(where, Q(FormatIpv4(network.Broadcast)))});
        } else {
            findings.push_back({check, TStatus::Note,
                                QCoreApplication::translate("NetworkBackend", "%1: not sent on (%2)")
                                    .arg(where, Q(report.Skipped))});
        }
    }
    if (!any) {
        findings.push_back(
            {check, TStatus::Problem,
             QCoreApplication::translate("NetworkBackend",
                                         "no interface to broadcast on is up: no other computer can be "
                                         "reached")});
    }
}

class TUdpBackend final : public TNetworkBackend {
public:
    TUdpBackend(std::string computerName, const TUdpSettings& settings)
        : Settings(settings), Udp(std::move(computerName), settings) {}

    TMailslotTransport& Transport() override { return Udp; }
    void OpenAhead() override { Udp.OpenSockets(); }
    std::string DropPrivileges() override { return DropCapabilities(); }
    std::string CheckComputerName() const override { return Udp.CheckComputerName(NameCheckTime); }
    std::string LastError() const override { return Udp.LastError(); }
    bool ReachesOtherComputers() override { return Udp.ReachesOtherComputers(); }
    std::optional<TReceiveBuffer> ReceiveBuffer() const override {
        const TReceiveRoom room = Udp.ReceiveRoom();
        return TReceiveBuffer{room.Granted, room.SystemLimit};
    }
    // What one datagram carries: a copy whose MaxMessageBytes is raised that far takes it.
    std::size_t LongestMemoBytes(const std::string& box) const override {
        return TUdpTransport::MaxMessageSize(box);
    }

    TNetworkDiagnosis Diagnose() const override {
        const TUdpDiagnostics found = DiagnoseUdp(Settings);
        TNetworkDiagnosis diagnosis;
        TellPorts(found, diagnosis.Findings);
        TellCapabilities(found, Settings, diagnosis.Findings);
        TellInterfaces(found, diagnosis.Findings);
        for (const auto& port : found.Ports) {
            diagnosis.UdpPorts.push_back(port.Number);
        }
        diagnosis.MailboxTakenByAnotherCopy = std::ranges::any_of(
            found.Ports,
            [this](const TUdpPortLook& port) { return port.Number == Settings.Port && port.HeldByKestrin; });
        return diagnosis;
    }

private:
    const TUdpSettings Settings;
    TUdpTransport Udp;
};

}  // namespace

TNetworkSetup SetUpNetwork(const QString& settingsPath) {
    const TNetworkSettingsRead read =
        ReadNetworkSettings(settingsPath.isEmpty() ? DefaultSettingsPath() : settingsPath);
    const TUdpSettingsCheck udp = ValidateUdpSettings(read.Network);
    TNetworkSetup setup;
    setup.System = MakeLocalSystem(read.ComputerName);
    setup.Backend = std::make_unique<TUdpBackend>(setup.System->ComputerName(), udp.Settings);
    setup.Text = read.Text;
    for (const std::string& problem : udp.Problems) {
        setup.Problems << Q(problem);
    }
    setup.Problems << read.Problems;
    setup.ComputerNameSet = !read.ComputerName.empty();
    setup.Presence.Refresh = read.Refresh;
    return setup;
}
