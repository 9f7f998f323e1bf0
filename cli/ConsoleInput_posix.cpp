// Standard input through a socket notifier on the event loop.
#include <unistd.h>

#include <QSocketNotifier>
#include <array>

#include "cli/ConsoleInput.h"

struct TConsoleInput::TReader {
    QSocketNotifier* Notifier = nullptr;
};

TConsoleInput::TConsoleInput(QObject* parent) : QObject(parent), Reader(std::make_shared<TReader>()) {
    Reader->Notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(Reader->Notifier, &QSocketNotifier::activated, this, [this] {
        std::array<char, 4096> buffer{};
        const auto received = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (received <= 0) {
            Reader->Notifier->setEnabled(false);
            emit Ended();
            return;
        }
        emit Received(QByteArray(buffer.data(), static_cast<qsizetype>(received)));
    });
}

TConsoleInput::~TConsoleInput() = default;

// A Linux terminal shows UTF-8 as it is.
void PrepareConsoleOutput() {}
