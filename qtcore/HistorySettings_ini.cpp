// [History] in the user's settings file.
#include <QSettings>

#include "qtcore/HistorySettings.h"
#include "qtcore/NetworkSettings.h"

THistorySettings ReadHistorySettings(const QString& settingsPath) {
    QSettings file(settingsPath.isEmpty() ? DefaultSettingsPath() : settingsPath, QSettings::IniFormat);
    return ReadHistoryValues(file);
}
