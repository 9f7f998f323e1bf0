// [General] Tray and CloseToTray: whether the program has a tray icon, and whether the close box only hides
// the window there.
#pragma once

class QSettings;

struct TDesktopSettings {
    /// Tray: an icon in the system's tray, with the unread count, when the desktop has a tray.
    bool Tray = true;
    /// CloseToTray: closing the window hides it in the tray (where there is one) instead of ending the
    /// program.
    bool CloseToTray = false;
};

/// Reads both values of the current group of `settings` as the pop-up flag is read: on unless the text is a
/// number equal to 0; a missing value takes its default.
TDesktopSettings ReadDesktopValues(const QSettings& settings);
