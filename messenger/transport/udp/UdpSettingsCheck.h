// The UDP transport's settings checked from the text the settings file holds: each value that cannot be used
// keeps its default, and says so.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "messenger/transport/udp/UdpSettings.h"

struct TUdpSettingsCheck {
    TUdpSettings Settings;
    std::vector<std::string>
        Problems;  ///< one sentence per value that fell back to its default, in key order
};

/// `raw`: the [Network] section's values by key ("Port", "Interfaces"), as written; a key that is missing
/// takes its default, and keys of other settings are left alone. Interfaces is a comma-separated list.
TUdpSettingsCheck ValidateUdpSettings(const std::map<std::string, std::string>& raw);
