// Whether the program starts when a user logs on: one small interface, one backend per platform.
#pragma once

#include <memory>
#include <string>

/// The machine-wide entry that starts the program at logon. Failures of the platform (no right to write,
/// nothing there to remove) are answers, not errors: they change nothing and throw nothing.
class TStartupRegistration {
public:
    virtual ~TStartupRegistration() = default;

    /// Writes the entry that starts `programPath`, replacing any entry of the same name.
    virtual void Register(const std::string& programPath) = 0;
    /// Removes the entry; when there is none, nothing happens.
    virtual void Unregister() = 0;
    /// True when an entry of that name is there and can be read, whatever it holds.
    virtual bool IsRegistered() = 0;
};

/// The backend of this platform, working on the place the desktop reads at logon.
std::unique_ptr<TStartupRegistration> MakeStartupRegistration();

/// The full path of the running program's file, in the system's 8-bit encoding.
std::string RunningProgramPath();
