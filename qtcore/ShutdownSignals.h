// Log-off, shut-down, SIGTERM, SIGHUP and SIGINT as a call on the user-interface thread.
#pragma once

#include <functional>

class QObject;

/// Runs `onShutdown` on `context`'s thread each time the process is asked to end (a session's end sends
/// such a signal), for as long as `context` lives. One context at a time per process.
void OnShutdownSignals(QObject& context, std::function<void()> onShutdown);
