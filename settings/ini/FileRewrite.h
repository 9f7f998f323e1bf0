// Changing a file that several copies of the program may save at once, so that nothing is lost: not by a
// failed write, not by another save at the same moment, not by a save killed halfway.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

/// Replaces the file at `path` (made when missing) with `change` applied to its current bytes.
/// Writers take turns through the lock file `<path>.lock`, the one QSettings takes for its saves too, and
/// `change` sees the file as the previous writer left it: the last save wins and no other is lost. The
/// new bytes go to `<path>.saving`, reach the disk and take the old file's owner and mode before they are
/// renamed over it, so a failure at any point throws TSettingsError and leaves the old file whole; what a
/// killed save left behind is cleared by the next one. A file kept elsewhere behind a link is changed
/// where it lies.
void RewriteFile(const QString& path, const std::function<QByteArray(const QByteArray&)>& change);
