// Where the desktop program keeps the user's settings: the registry on Windows, the settings file elsewhere.
#pragma once

#include <memory>

#include "app/DesktopSettings.h"
#include "settings/SettingsStore.h"

std::unique_ptr<TSettingsStore> MakeUserSettingsStore();
/// The tray's settings, from the same place as the store's.
TDesktopSettings ReadDesktopSettings();
