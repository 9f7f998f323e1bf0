// The settings file, one INI file per user, and its [Network] section: the values of the programs' own read
// here, the transport's handed on as written, for the backend to check (qtcore/NetworkBackend_udp.cpp).
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <map>
#include <string>

#include "messenger/Presence.h"
#include "qtcore/WireText.h"

/// `$XDG_CONFIG_HOME/Olvanta/Kestrin.conf` (`~/.config/…` when the variable is unset) on Linux.
QString DefaultSettingsPath();

struct TNetworkSettingsRead {
    /// Every [Network] value by key ("Port"), as written; a list ("eth0, wlan0") joined by commas.
    std::map<std::string, std::string> Network;
    TWireText Text;        ///< Encoding: the office's code page, by default the one of the locale's language
    QStringList Problems;  ///< one sentence per value that was unusable and fell back to its default
    /// [Network] ComputerName, upper-cased; empty when unset or unusable: then the host name gives it.
    std::string ComputerName;
    /// [Network] RefreshMinutes: how often the copy announces itself again; zero: never.
    std::chrono::milliseconds Refresh = TPresenceTiming{}.Refresh;
};

/// Missing keys take their defaults; a value that cannot be used takes its default too, and says so. Only
/// Encoding, ComputerName and RefreshMinutes are checked here; the rest are the transport's.
TNetworkSettingsRead ReadNetworkSettings(const QString& settingsPath);
