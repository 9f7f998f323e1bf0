// Where Kestrin keeps its settings: one INI file per user.
#pragma once

#include <QString>

/// `$XDG_CONFIG_HOME/Olvanta/Kestrin.conf` (`~/.config/…` when the variable is unset) on Linux.
QString DefaultSettingsPath();
