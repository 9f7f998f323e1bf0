// kestrin: the desktop program. Start-up, the message loop, and a shutdown that says goodbye.
#include <QCoreApplication>
#include <iostream>
#include <memory>
#include <thread>

#include "about/uniAbout.h"
#include "app/DesktopCommandLine.h"
#include "app/KestrinApplication.h"
#include "app/UserSettings.h"
#include "app/uniKestrin.h"
#include "history/HistoryPath.h"
#include "options/uniOptions.h"
#include "qtcore/HistoryRecorder.h"
#include "qtcore/NetworkBackend.h"
#include "qtcore/Translations.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/KestrinIcon.h"

// The published names of the main window's unit, kept by the window; only this file binds and reads them.
TfrmMain* frmMain = nullptr;
TMessenger* MyMessenger = nullptr;
bool PopUp = false;

namespace {

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    // Read before anything needs a display, so that --help works over ssh and in a script.
    auto command = ParseDesktopCommandLine(ArgumentsOf(argc, argv));
    if (command.Action != TDesktopCommand::TAction::Run) {
        // Help, the version or a refusal ends the program here: read again in the user's language, with a
        // core application that opens no display, the one the translations are installed in.
        QCoreApplication words(argc, argv);
        InstallTranslations(words);
        command = ParseDesktopCommandLine(ArgumentsOf(argc, argv));
        (command.ExitCode == 0 ? std::cout : std::cerr) << command.Text.toLocal8Bit().toStdString();
        return command.ExitCode;
    }
    // The mailbox's ports are opened, and every capability given up, before the application object
    // starts its threads: capabilities belong to threads, and the ones started later have none.
    const TNetworkSetup network = SetUpNetwork();
    network.Backend->OpenAhead();
    if (const std::string failed = network.Backend->DropPrivileges(); !failed.empty()) {
        std::cerr << "kestrin: " << failed << "\n";
        return 1;
    }

    TKestrinApplication app(argc, argv);
    InstallTranslations(app);
    QApplication::setWindowIcon(KestrinIcon());
    // The program ends when its main window closes: with the window hidden in the tray, a message box or the
    // History window would otherwise end it as the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    const auto settings = MakeUserSettingsStore();
    const auto startup = MakeStartupRegistration();
    // One history for the program, from the same settings as the rest; switched off, the file is not opened.
    const THistorySettings historySettings = ReadHistorySettings();
    const auto history = historySettings.Enabled
                             ? std::make_unique<THistoryRecorder>(historySettings, DefaultHistoryPath())
                             : nullptr;
    const QStringList settingsProblems = network.Problems + historySettings.Problems;
    // Before the window exists: the window announces this computer while it is made, and a message box of
    // its start may then wait for an OK when the session ends.
    app.SayGoodbyeAtSessionEnd(SayMainWindowGoodbye);

    // The dialogs go over the main window that owns them; Options edits the pop-up flag the window reads
    // and stores it the window's way.
    const auto options = [&startup = *startup](TfrmMain& owner) {
        return std::make_unique<TfrmOptions>(
            &owner, &owner, TOptionsEnvironment{startup, PopUp, [&owner] { owner.SaveAll(); }});
    };
    const auto about = [](TfrmMain& owner) { return std::make_unique<TAboutBox>(&owner, &owner); };
    auto window = std::make_unique<TfrmMain>(TMainWindowEnvironment{
        network.Backend->Transport(), *network.System, *settings, frmMain, MyMessenger, PopUp, network.Text,
        network.Presence, settingsProblems, [&backend = *network.Backend] { return backend.LastError(); },
        options, about, history.get(), ReadDesktopSettings()});
    if (app.SessionEnded()) {
        return 0;  // the goodbye is said; leaving destroys the window, which has nothing more to say
    }
    window->ShowAtStart(command.Minimized);
    // Whether another computer answers to this one's name, or nothing here does: asked once, off the UI
    // thread, and told in the plain message box through the event loop (dropped if the window is gone by
    // then).
    std::jthread nameCheck([&backend = *network.Backend, target = window.get()] {
        const auto warning = backend.CheckComputerName();
        if (!warning.empty()) {
            QMetaObject::invokeMethod(
                target, [text = QString::fromStdString(warning)] { ShowPlainMessage(text); },
                Qt::QueuedConnection);
        }
    });
    const int code = app.exec();
    nameCheck.join();
    // Destroying the window writes the last memos to the history and deactivates the messenger, which
    // announces this computer's departure.
    window.reset();
    return code;
}
