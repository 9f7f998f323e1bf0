// The end of a session, as the system tells a program: SIGTERM on Linux, WM_ENDSESSION on Windows.
#pragma once

/// Asks this process to end the way the system does when the user logs off. Without a watcher
/// (OnShutdownSignals) a Linux process ends at once; a Windows one has no window to hear it.
void AskThisProcessToEnd();
