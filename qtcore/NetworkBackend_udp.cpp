// The network on Linux: the UDP transport, set up from the settings file's [Network] section.
#include <memory>

#include "messenger/transport/udp/Capabilities.h"
#include "messenger/transport/udp/NameResponder.h"
#include "messenger/transport/udp/UdpTransport.h"
#include "qtcore/NetworkBackend.h"
#include "qtcore/NetworkSettings.h"

namespace {

class TUdpBackend final : public TNetworkBackend {
public:
    TUdpBackend(std::string computerName, const TUdpSettings& settings)
        : Udp(std::move(computerName), settings) {}

    TMailslotTransport& Transport() override { return Udp; }
    void OpenAhead() override { Udp.OpenSockets(); }
    std::string DropPrivileges() override { return DropCapabilities(); }
    std::string CheckComputerName() const override { return Udp.CheckComputerName(NameCheckTime); }
    std::string LastError() const override { return Udp.LastError(); }
    bool ReachesOtherComputers() override { return Udp.ReachesOtherComputers(); }
    std::optional<TReceiveRoom> ReceiveBuffer() const override { return Udp.ReceiveRoom(); }

private:
    TUdpTransport Udp;
};

}  // namespace

TNetworkSetup SetUpNetwork(const QString& settingsPath) {
    const TNetworkSettingsRead read =
        ReadNetworkSettings(settingsPath.isEmpty() ? DefaultSettingsPath() : settingsPath);
    TNetworkSetup setup;
    setup.System = MakeLocalSystem(read.ComputerName);
    setup.Backend = std::make_unique<TUdpBackend>(setup.System->ComputerName(), read.Settings);
    setup.Text = read.Text;
    setup.Problems = read.Problems;
    setup.ComputerNameSet = !read.ComputerName.empty();
    setup.Udp = read.Settings;
    setup.Presence.Refresh = read.Refresh;
    return setup;
}
