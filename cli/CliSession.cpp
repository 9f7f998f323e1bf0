// Building the messenger for the console client.
#include "cli/CliSession.h"

TCliSession::TCliSession(const TCliCommand& command, QObject* context)
    : Network(SetUpNetwork(command.ConfigPath)), Queue(context), Kept(command, PeerText) {
    Component = std::make_unique<TMessenger>(
        TMessengerEnvironment{Network.Backend->Transport(), Queue, *Network.System});
    Component->SetPresenceTiming(Network.Presence);
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
    if (const auto why = Network.Backend->LastError(); !why.empty()) {
        error += ": " + QString::fromStdString(why);
    }
    return false;
}

void TCliSession::OpenSockets() {
    Network.Backend->OpenAhead();
}

std::string TCliSession::NameConflict() const {
    return Network.Backend->CheckComputerName();
}

void TCliSession::CheckNameInBackground(std::function<void(const std::string&)> warn) {
    NameCheck = std::jthread([this, warn = std::move(warn)] {
        if (std::string warning = Network.Backend->CheckComputerName(); !warning.empty()) {
            Queue.Post([warn, warning = std::move(warning)] { warn(warning); });
        }
    });
}
