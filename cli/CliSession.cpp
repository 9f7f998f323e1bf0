// Building the messenger for the console client.
#include "cli/CliSession.h"

#include "messenger/transport/udp/NameResponder.h"
#include "qtcore/NetworkSettings.h"

TCliSession::TCliSession(const TCliCommand& command, QObject* context) : Queue(context) {
    auto read =
        ReadNetworkSettings(command.ConfigPath.isEmpty() ? DefaultSettingsPath() : command.ConfigPath);
    Problems = read.Problems;
    WireText = read.Text;
    UdpSettings = read.Settings;
    NameSet = !read.ComputerName.empty();
    LocalSystem = MakeLocalSystem(read.ComputerName);
    Transport = std::make_unique<TUdpTransport>(LocalSystem->ComputerName(), read.Settings);
    Component = std::make_unique<TMessenger>(TMessengerEnvironment{*Transport, Queue, *LocalSystem});
    Component->SetBoxName(command.BoxName.toStdString());
}

bool TCliSession::Activate(QString& error) {
    std::string reported;
    auto previous = Component->OnError;
    Component->OnError = [&reported](TMainMessenger&, const std::string& message) { reported = message; };
    Component->Activate();
    Component->OnError = previous;
    if (reported.empty()) {
        return true;
    }
    error = QString::fromStdString(reported);
    if (const auto why = Transport->LastError(); !why.empty()) {
        error += ": " + QString::fromStdString(why);
    }
    return false;
}

std::size_t TCliSession::MaxMessageSize() const {
    return TUdpTransport::MaxMessageSize(Component->BoxName());
}

void TCliSession::OpenSockets() {
    Transport->OpenSockets();
}

std::string TCliSession::NameConflict() const {
    return Transport->CheckComputerName(NameCheckTime);
}
