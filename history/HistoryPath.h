// Where the history file lives unless the caller names another.
#pragma once

#include <filesystem>

/// `$XDG_DATA_HOME/Olvanta/Kestrin/history.sqlite`, under `~/.local/share` when XDG_DATA_HOME is unset or not
/// absolute; on Windows `%LOCALAPPDATA%\Olvanta\Kestrin\history.sqlite`.
std::filesystem::path DefaultHistoryPath();
