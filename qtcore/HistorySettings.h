// [History]: whether the programs keep what they receive and send, and for how long.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

struct THistorySettings {
    /// Enabled: 0 writes nothing and leaves the file alone.
    bool Enabled = true;
    /// KeepDays: memos older than this are removed; 0 keeps everything.
    int KeepDays = 365;
    /// One sentence per value that was unusable and fell back to its default.
    QStringList Problems;
};

/// The settings file at `settingsPath`, or the user's own when it is empty (Linux: its [History] section;
/// Windows: the user's registry key's History values).
THistorySettings ReadHistorySettings(const QString& settingsPath = {});

/// The History values of `settings`, wherever they are kept; missing ones take their defaults, unusable ones
/// too, with a problem said.
THistorySettings ReadHistoryValues(QSettings& settings);
