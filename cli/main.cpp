// kestrin-cli: the Kestrin messenger for terminals and scripts.
#include <QCoreApplication>
#include <optional>

#include "cli/Commands.h"
#include "cli/ConsoleInput.h"
#include "cli/Doctor.h"
#include "cli/Output.h"
#include "qtcore/ShutdownSignals.h"
#include "qtcore/Translations.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("kestrin-cli");
    QCoreApplication::setApplicationVersion("1.0.0");
    PrepareConsoleOutput();
    InstallTranslations(app);

    const TCommandLineResult parsed = ParseCommandLine(QCoreApplication::arguments());
    if (!parsed.Output.isEmpty()) {
        Print(parsed.Output.toStdString());
        return ExitCode::Ok;
    }
    if (!parsed.Command) {
        PrintError("kestrin-cli: " + parsed.Error.toStdString() + "\n");
        return ExitCode::BadArguments;
    }
    const TCliCommand& command = *parsed.Command;
    // What --json prints is read by scripts, which must find the same words on every computer: such a run
    // speaks English throughout, as the texts are written.
    if (command.Json) {
        RemoveTranslations(app);
    }
    if (command.Kind == TCliCommand::TKind::History) {
        return RunHistory(command);
    }

    // Ctrl+C, SIGTERM and SIGHUP (on Windows Ctrl+C, Ctrl+Break and the console's closing) end the event
    // loop, so the messenger leaves the normal way and announces its departure.
    OnShutdownSignals(app, [&app] { app.exit(ExitCode::Ok); });

    TCliSession session(command, &app);
    // The doctor looks at the ports before this process holds them itself.
    std::optional<TNetworkDiagnosis> diagnosis;
    if (command.Kind == TCliCommand::TKind::Doctor) {
        diagnosis = session.Diagnose();
    }
    // Only a copy that listens needs the mailbox's ports. They are opened before any thread starts, and
    // then every capability goes: capabilities belong to threads, and the ones started later have none.
    if (command.Kind != TCliCommand::TKind::Send) {
        session.OpenSockets();
    }
    if (const std::string failed = session.DropPrivileges(); !failed.empty()) {
        PrintError("kestrin-cli: " + failed + "\n");
        return ExitCode::Failed;
    }
    ReportSettingsProblems(session.SettingsProblems());
    switch (command.Kind) {
        case TCliCommand::TKind::Send:
            return RunSend(session, command);
        case TCliCommand::TKind::Listen:
            return RunListen(session, command, app);
        case TCliCommand::TKind::Who:
            return RunWho(session, command, app);
        case TCliCommand::TKind::Echo:
            return RunEcho(session, command, app);
        case TCliCommand::TKind::Doctor:
            return RunDoctor(session, command, *diagnosis, app);
        case TCliCommand::TKind::Interactive:
            return RunInteractive(session, command, app);
        case TCliCommand::TKind::History:
            break;  // read above, without the network
    }
    return ExitCode::Failed;
}
