// The doctor's look at the UDP transport, taken from the system as it stands.
#include "messenger/transport/udp/UdpDiagnostics.h"

#include "messenger/transport/udp/MailboxSockets.h"
#include "messenger/transport/udp/PortHolder.h"

TUdpDiagnostics DiagnoseUdp(const TUdpSettings& settings) {
    TUdpDiagnostics found;
    found.Capabilities = HeldPortCapabilities();
    for (const std::uint16_t number : {settings.Port, settings.NameServicePort}) {
        if (number == 0) {
            continue;
        }
        TUdpPortLook port{number, UdpPortHeld(number), false, UdpPortHolder(number)};
        port.HeldByKestrin =
            port.Holder.starts_with("kestrin") || (number == settings.Port && MailboxLockHeld(number));
        found.Ports.push_back(port);
    }
    found.Interfaces = ReportInterfaces(settings.Interfaces);
    return found;
}
