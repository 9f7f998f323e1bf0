// kestrin: the desktop program. Start-up, the message loop, and a shutdown that says goodbye.
#include <memory>

#include "about/uniAbout.h"
#include "app/KestrinApplication.h"
#include "app/uniKestrin.h"
#include "messenger/SystemServices.h"
#include "messenger/transport/udp/UdpTransport.h"
#include "options/uniOptions.h"
#include "qtcore/NetworkSettings.h"
#include "settings/ini/IniSettingsStore.h"
#include "widgets/KestrinIcon.h"

int main(int argc, char** argv) {
    TKestrinApplication app(argc, argv);
    QApplication::setWindowIcon(KestrinIcon());

    const QString settingsPath = DefaultSettingsPath();
    const auto system = MakeLocalSystem();
    const TNetworkSettingsRead network = ReadNetworkSettings(settingsPath);
    TUdpTransport transport(system->ComputerName(), network.Settings);
    TIniSettingsStore settings(settingsPath);
    const auto startup = MakeStartupRegistration();

    auto window =
        std::make_unique<TfrmMain>(TMainWindowEnvironment{transport, *system, settings, network.Text});
    // The dialogs go over the main window, whichever window owns them; Options edits the process-wide
    // pop-up flag and stores it the main window's way.
    window->OptionsFactory = [&startup = *startup](QWidget* owner) {
        const auto saveAll = [] {
            if (frmMain != nullptr) {
                frmMain->SaveAll();
            }
        };
        return std::make_unique<TfrmOptions>(owner, frmMain, TOptionsEnvironment{startup, PopUp, saveAll});
    };
    window->AboutFactory = [](QWidget* owner) { return std::make_unique<TAboutBox>(owner, frmMain); };
    CloseOnShutdownSignals(*window);
    window->show();
    const int code = app.exec();
    // Destroying the window deactivates the messenger, which announces this computer's departure.
    window.reset();
    return code;
}
