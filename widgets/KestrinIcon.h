// The program's icon, from this library's resources.
#pragma once

#include <QIcon>
#include <QPixmap>

/// The icon in every size drawn for it (16, 32, 48 and 256 pixels): title bars, task bar, window list.
QIcon KestrinIcon();

/// The icon as drawn for `size` pixels: 16, 32, 48 or 256.
QPixmap KestrinPixmap(int size);
