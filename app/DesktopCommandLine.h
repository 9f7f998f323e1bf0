// The desktop program's own command line: --help, --version, --minimized, and Qt's options passed on to Qt.
#pragma once

#include <QString>
#include <QStringList>

struct TDesktopCommand {
    enum class TAction { Run, Help, Version, Refused };
    TAction Action = TAction::Run;
    /// What to print: the usage, the version, or why the command line was refused followed by the usage.
    QString Text;
    /// The exit code when the program does not run: 0 after --help and --version, 2 for a refused line.
    int ExitCode = 0;
    /// --minimized: the window starts hidden in the tray, or minimised where there is no tray.
    bool Minimized = false;
};

/// Reads the arguments (the program's name first) without a display, so that asking for help works
/// anywhere. The options every Qt program takes (-platform, -display, -style …) are accepted and left
/// for the application object; anything else is refused.
TDesktopCommand ParseDesktopCommandLine(const QStringList& arguments);
