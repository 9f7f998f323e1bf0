// History values under the user's key HKEY_CURRENT_USER\Software\Olvanta\Kestrin, where the window keeps
// its own; Windows has no settings file.
#include <QSettings>

#include "qtcore/HistorySettings.h"

THistorySettings ReadHistorySettings(const QString& settingsPath) {
    if (!settingsPath.isEmpty()) {
        QSettings file(settingsPath, QSettings::IniFormat);
        return ReadHistoryValues(file);
    }
    QSettings registry(QSettings::NativeFormat, QSettings::UserScope, "Olvanta", "Kestrin");
    return ReadHistoryValues(registry);
}
