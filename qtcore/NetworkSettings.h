// The settings file, one INI file per user, and its [Network] section read into the transport's plain values.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <string>

#include "messenger/Presence.h"
#include "messenger/transport/udp/UdpSettings.h"
#include "qtcore/WireText.h"

/// `$XDG_CONFIG_HOME/Olvanta/Kestrin.conf` (`~/.config/…` when the variable is unset) on Linux.
QString DefaultSettingsPath();

struct TNetworkSettingsRead {
    TUdpSettings Settings;
    TWireText Text;        ///< Encoding: the office's code page, by default the one of the locale's language
    QStringList Problems;  ///< one sentence per value that was unusable and fell back to its default
    /// [Network] ComputerName, upper-cased; empty when unset or unusable: then the host name gives it.
    std::string ComputerName;
    /// [Network] RefreshMinutes: how often the copy announces itself again; zero: never.
    std::chrono::milliseconds Refresh = TPresenceTiming{}.Refresh;
};

/// Missing keys take their defaults; a value that cannot be used takes its default too, and says so.
TNetworkSettingsRead ReadNetworkSettings(const QString& settingsPath);
