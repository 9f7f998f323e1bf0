// Log-off, shut-down and SIGTERM/SIGHUP/SIGINT close the main window the normal way.
#pragma once

class QWidget;

/// Closes `window` when a terminating signal arrives (the session's end sends one), so the program
/// leaves as it does on Exit: one offline announcement, every thread joined. A session manager that
/// ends the event loop itself reaches the same end, since the window is destroyed after the loop.
void CloseOnShutdownSignals(QWidget& window);
