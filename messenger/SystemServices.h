// What the messenger asks of the computer it runs on; handed in so tests can run many computers.
#pragma once

#include <memory>
#include <string>

class TSystemServices {
public:
    virtual ~TSystemServices() = default;

    /// The name the operating system reports for this computer.
    virtual std::string ComputerName() = 0;
    /// The name of the logged-on user.
    virtual std::string UserName() = 0;
    /// The local time of day now, in the regional long time format.
    virtual std::string TimeStamp() = 0;
};

/// The services of the computer this process runs on.
std::unique_ptr<TSystemServices> MakeLocalSystem();
