// What the messenger asks of the computer it runs on; handed in so tests can run many computers.
#pragma once

#include <memory>
#include <string>

class TSystemServices {
public:
    virtual ~TSystemServices() = default;

    /// The name this computer goes by on the network: the configured one, else the one the system gives.
    virtual std::string ComputerName() = 0;
    /// The name of the logged-on user.
    virtual std::string UserName() = 0;
    /// The local time of day now, in the regional long time format.
    virtual std::string TimeStamp() = 0;
};

/// The services of the computer this process runs on; a non-empty `computerName` replaces the system's name
/// for this computer (on Linux, the NetBIOS form of the host name).
std::unique_ptr<TSystemServices> MakeLocalSystem(std::string computerName = {});
