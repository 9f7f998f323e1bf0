// The name a damaged history file is renamed to.
#pragma once

#include <chrono>
#include <filesystem>

/// `<path>.damaged-YYYYMMDD-HHMMSS` at `when` (UTC).
std::filesystem::path DamagedName(const std::filesystem::path& path, std::chrono::system_clock::time_point when);
