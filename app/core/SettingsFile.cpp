// Location of the settings file.
#include "app/core/SettingsFile.h"

#include <QStandardPaths>

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Olvanta/Kestrin.conf";
}
