// Location of the settings file.
#include "qtcore/SettingsFile.h"

#include <QStandardPaths>

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Olvanta/Kestrin.conf";
}
