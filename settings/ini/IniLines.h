// Changing one value of an INI file's text and nothing else: a file the user edits by hand keeps its
// comments, blank lines, order and line breaks through a save.
#pragma once

#include <QString>

/// `contents` with `key` of `section` set to `value`: every line that holds the key there is rewritten,
/// keeping what stood before its value; a missing key is added after the section's last value, and a
/// missing section first in the file. Every other line stays byte for byte as it was.
QString WithIniValue(const QString& contents, const QString& section, const QString& key,
                     const QString& value);
