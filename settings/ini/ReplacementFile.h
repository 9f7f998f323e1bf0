// What a new file written to replace an old one needs before the rename, from the system.
#pragma once

#include <QFileDevice>
#include <QString>

/// Writes what the system still holds of `file` to the disk; false when it reports that it could not.
bool SyncToDisk(QFileDevice& file);

/// Gives `replacement` the owner, group and mode of the file at `original`, when there is one, so that a
/// save does not hand a file to whoever saved it, nor make a read-only file writable. False when the
/// system refuses.
bool TakeOwnerAndMode(QFileDevice& replacement, const QString& original);
