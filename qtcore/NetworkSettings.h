// Reads the [Network] section of the settings file into the transport's plain values.
#pragma once

#include <QString>
#include <QStringList>

#include "messenger/transport/udp/UdpSettings.h"

struct TNetworkSettingsRead {
    TUdpSettings Settings;
    QStringList Problems;  ///< one sentence per value that was unusable and fell back to its default
};

/// Missing keys take their defaults; a value that cannot be used takes its default too, and says so.
TNetworkSettingsRead ReadNetworkSettings(const QString& settingsPath);
