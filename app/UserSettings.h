// Where the desktop program keeps the user's settings: the registry on Windows, the settings file elsewhere.
#pragma once

#include <memory>

#include "settings/SettingsStore.h"

std::unique_ptr<TSettingsStore> MakeUserSettingsStore();
