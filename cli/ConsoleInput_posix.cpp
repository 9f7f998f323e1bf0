// Standard input through a socket notifier on the event loop: keys into the line editor at a terminal,
// bytes into lines otherwise.
#include <unistd.h>

#include <QSocketNotifier>
#include <array>

#include "cli/ConsoleInput.h"
#include "cli/LineEditor.h"
#include "cli/LineSplitter.h"
#include "cli/Output.h"

struct TConsoleInput::TReader {
    explicit TReader(std::size_t longestLine) : Lines(longestLine) {}

    QSocketNotifier* Notifier = nullptr;
    std::unique_ptr<TLineEditor> Editor;  ///< at a terminal
    TLineSplitter Lines;                  ///< from a pipe or a file
};

TConsoleInput::TConsoleInput(std::size_t longestLine, QObject* parent)
    : QObject(parent), Reader(std::make_shared<TReader>(longestLine)) {
    Reader->Notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    if (TLineEditor::Usable()) {
        Reader->Editor = std::make_unique<TLineEditor>([this](std::optional<std::string> line) {
            if (line) {
                emit LineRead(*line);
            } else {
                emit Ended();
            }
        });
        connect(Reader->Notifier, &QSocketNotifier::activated, this, [this] {
            if (!Reader->Editor->ReadKey()) {
                // The terminal is gone: nobody is left to type or to answer.
                Reader->Notifier->setEnabled(false);
                Reader->Editor.reset();
                emit Ended();
            }
        });
        return;
    }
    connect(Reader->Notifier, &QSocketNotifier::activated, this, [this] {
        std::array<char, 4096> buffer{};
        const auto received = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (received <= 0) {
            Reader->Notifier->setEnabled(false);
            if (const auto last = Reader->Lines.Finish()) {
                emit LineRead(*last);
            }
            emit Ended();
            return;
        }
        for (const auto& line : Reader->Lines.Feed({buffer.data(), static_cast<std::size_t>(received)})) {
            emit LineRead(line);
        }
    });
}

TConsoleInput::~TConsoleInput() = default;

bool TConsoleInput::Typed() const {
    return Reader->Editor != nullptr;
}

void TConsoleInput::SetPrompt(const std::string& prompt) {
    if (Reader->Editor) {
        Reader->Editor->SetPrompt(prompt);
    }
}

void TConsoleInput::Show(const std::string& text) {
    if (Reader->Editor) {
        Reader->Editor->Show(stdout, text);
    } else {
        Print(text);
    }
}

void TConsoleInput::ShowError(const std::string& text) {
    if (Reader->Editor) {
        Reader->Editor->Show(stderr, text);
    } else {
        PrintError(text);
    }
}

// A Linux terminal shows UTF-8 as it is.
void PrepareConsoleOutput() {}
