// The text of an autostart entry, with the program's path written so that any path survives the reading.
#pragma once

#include <string>

/// The Exec value that runs `programPath` with no arguments: every "%" doubled; the path in double quotes,
/// with the quote, backtick, dollar and backslash escaped, when it holds a blank or another reserved
/// character; then the escapes of every string value.
std::string DesktopExecValue(const std::string& programPath);

/// A whole desktop entry: an application named "Kestrin" whose Exec runs `programPath`.
std::string DesktopEntryText(const std::string& programPath);
