// Changing one value of an INI file's bytes and nothing else: a file the user edits by hand keeps its
// comments, blank lines, order, line breaks and encoding through a save.
#pragma once

#include <QByteArray>

/// `contents` with `key` of `section` set to `value`: every line that holds the key there is rewritten,
/// keeping what stood before its value; a missing key is added after the section's last value, and a
/// missing section first in the file (after a byte order mark). Every other byte stays as it was: the
/// lines are split at LF bytes only, which no character of UTF-8 or of an 8-bit code page contains.
QByteArray WithIniValue(const QByteArray& contents, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value);
