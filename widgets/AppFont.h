// The font the fixed layout was designed for, or the closest face this desktop has.
#pragma once

#include <QFont>

/// "MS Sans Serif" at 11 pixels where installed, else a face of about its width, else the desktop's
/// sans-serif face, always at 11 pixels.
QFont KestrinFont();
