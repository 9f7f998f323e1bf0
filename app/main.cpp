// kestrin: the desktop program. Start-up, the message loop, and a shutdown that says goodbye.
#include <QIcon>
#include <memory>

#include "about/uniAbout.h"
#include "app/KestrinApplication.h"
#include "app/ShutdownSignals.h"
#include "app/uniKestrin.h"
#include "messenger/SystemServices.h"
#include "messenger/transport/udp/UdpTransport.h"
#include "options/uniOptions.h"
#include "qtcore/NetworkSettings.h"
#include "qtcore/SettingsFile.h"
#include "settings/ini/IniSettingsStore.h"

int main(int argc, char** argv) {
    // The icons live in the static application library; a static library's resources must be named.
    Q_INIT_RESOURCE(kestrin);
    TKestrinApplication app(argc, argv);
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/kestrin/kestrin-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);

    const QString settingsPath = DefaultSettingsPath();
    const auto system = MakeLocalSystem();
    TUdpTransport transport(system->ComputerName(), ReadNetworkSettings(settingsPath).Settings);
    TIniSettingsStore settings(settingsPath);
    const auto startup = MakeStartupRegistration();

    auto window = std::make_unique<TfrmMain>(TMainWindowEnvironment{transport, *system, settings});
    window->OptionsFactory = [&startup = *startup](QWidget* owner) {
        return std::make_unique<TfrmOptions>(owner, startup);
    };
    window->AboutFactory = MakeAboutBox;
    CloseOnShutdownSignals(*window);
    window->show();
    const int code = app.exec();
    // Destroying the window deactivates the messenger, which announces this computer's departure.
    window.reset();
    return code;
}
