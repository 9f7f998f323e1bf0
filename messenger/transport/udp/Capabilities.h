// Giving up the capabilities that opening the NetBIOS ports needed (the package grants them to the
// programs' files), so that nothing a peer sends can make use of them later.
#pragma once

#include <string>

/// The capabilities that opening the ports needs, as the process holds them now.
struct TPortCapabilities {
    bool BindService = false;  ///< ports below 1024
    bool Raw = false;          ///< reading beside another program that holds the port
};
TPortCapabilities HeldPortCapabilities();

/// Clears every capability of the calling process for good: effective, permitted and inheritable.
/// Capabilities belong to threads, so this must run before the program starts any. Empty on success,
/// else why it failed.
std::string DropCapabilities();
