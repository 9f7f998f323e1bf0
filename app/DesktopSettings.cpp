// The tray's two settings, read by the rules of every flag in [General].
#include "app/DesktopSettings.h"

#include <QSettings>

#include "settings/StoredInteger.h"

namespace {

bool Flag(const QSettings& settings, const char* key, bool missing) {
    const QVariant value = settings.value(QLatin1String(key));
    return value.isValid() ? PopUpFromStoredText(value.toString().toStdString()) : missing;
}

}  // namespace

TDesktopSettings ReadDesktopValues(const QSettings& settings) {
    const TDesktopSettings defaults;
    return {Flag(settings, "Tray", defaults.Tray), Flag(settings, "CloseToTray", defaults.CloseToTray)};
}
