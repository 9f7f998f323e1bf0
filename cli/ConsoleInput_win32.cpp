// Standard input read by a thread of its own, which posts each piece to the event loop, where it is split
// into lines. A console is read as the characters typed (its own code page would turn them into OEM bytes);
// a pipe or a file as its bytes. The console's own line editing serves a typed line; the prompt is written
// again after each line handled.
#include <windows.h>

#include <QMetaObject>
#include <QString>
#include <QTimer>
#include <array>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/ConsoleInput.h"
#include "cli/LineSplitter.h"
#include "cli/Output.h"

struct TConsoleInput::TReader {
    explicit TReader(std::size_t longestLine) : Lines(longestLine) {}
    ~TReader() {
        if (ThreadHandle != nullptr) {
            CloseHandle(ThreadHandle);
        }
    }

    std::mutex Mutex;
    TConsoleInput* Owner = nullptr;  ///< null once the input object is gone
    std::thread Reading;             ///< joined by the owner's destructor
    HANDLE ThreadHandle = nullptr;   ///< the reading thread's, so that a read it is blocked in can be cancelled
    std::atomic<bool> Stopping{false};
    std::atomic<bool> Finished{false};

    // Used on the event loop's thread only.
    TLineSplitter Lines;
    bool Console = false;
    std::string Prompt;

    /// Reads until the input ends or the owner stops it, posting each piece to the owner's thread.
    void ReadUntilStopped(HANDLE input, bool console);

    /// Posts to the owner's thread, while there is an owner; false once there is none.
    template <typename TCall>
    bool Post(TCall call) {
        std::lock_guard lock(Mutex);
        if (Owner == nullptr) {
            return false;
        }
        QMetaObject::invokeMethod(
            Owner, [owner = Owner, call] { call(*owner); }, Qt::QueuedConnection);
        return true;
    }
};

namespace {

// The next piece of input in UTF-8: empty for Ctrl+Z typed at the start of a line, after which the console
// can still be read; nothing once the input is gone (the end of a pipe or a file).
std::optional<QByteArray> ReadPiece(HANDLE input, bool console) {
    if (console) {
        std::array<wchar_t, 1024> typed{};
        DWORD count = 0;
        if (!ReadConsoleW(input, typed.data(), static_cast<DWORD>(typed.size()), &count, nullptr) ||
            count == 0) {
            return std::nullopt;
        }
        QByteArray text = QString::fromWCharArray(typed.data(), static_cast<qsizetype>(count)).toUtf8();
        // Ctrl+Z at the start of a line ends the input, as it does for every console program.
        const qsizetype end = text.indexOf('\x1a');
        return end < 0 ? text : text.left(end);
    }
    std::array<char, 4096> buffer{};
    DWORD count = 0;
    if (!ReadFile(input, buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr) || count == 0) {
        return std::nullopt;
    }
    return QByteArray(buffer.data(), static_cast<qsizetype>(count));
}

}  // namespace

TConsoleInput::TConsoleInput(std::size_t longestLine, QObject* parent)
    : QObject(parent), Reader(std::make_shared<TReader>(longestLine)) {
    Reader->Owner = this;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    Reader->Console = GetConsoleMode(input, &mode) != FALSE;
    if (Reader->Console) {
        // The first prompt, once what the session shows at its start is out.
        QTimer::singleShot(0, this, [this] { Print(Reader->Prompt); });
    }
    Reader->Reading = std::thread([reader = Reader, input, console = Reader->Console] {
        reader->ReadUntilStopped(input, console);
        reader->Finished = true;
    });
}

void TConsoleInput::TReader::ReadUntilStopped(HANDLE input, bool console) {
    {
        // A handle of its own, with which the destructor cancels a read this thread is blocked in.
        std::lock_guard lock(Mutex);
        const HANDLE process = GetCurrentProcess();
        DuplicateHandle(process, GetCurrentThread(), process, &ThreadHandle, 0, FALSE, DUPLICATE_SAME_ACCESS);
    }
    while (!Stopping) {
        const std::optional<QByteArray> read = ReadPiece(input, console);
        if (Stopping) {
            return;
        }
        if (!read) {
            Post([](TConsoleInput& owner) {
                // Nobody is left to type or to answer.
                owner.Reader->Console = false;
                if (const auto last = owner.Reader->Lines.Finish()) {
                    emit owner.LineRead(*last);
                }
                emit owner.Ended();
            });
            return;
        }
        if (read->isEmpty()) {
            Post([](TConsoleInput& owner) { emit owner.Ended(); });
            continue;
        }
        Post([piece = *read](TConsoleInput& owner) {
            const auto lines = owner.Reader->Lines.Feed({piece.constData(), static_cast<std::size_t>(piece.size())});
            for (const auto& line : lines) {
                emit owner.LineRead(line);
            }
            if (owner.Reader->Console && !lines.empty()) {
                Print(owner.Reader->Prompt);
            }
        });
    }
}

TConsoleInput::~TConsoleInput() {
    {
        std::lock_guard lock(Reader->Mutex);
        Reader->Owner = nullptr;
    }
    Reader->Stopping = true;
    // The read may not have begun when the first cancel comes, so it is cancelled until the thread ends.
    for (int tries = 0; !Reader->Finished && tries < 1000; ++tries) {
        {
            std::lock_guard lock(Reader->Mutex);
            if (Reader->ThreadHandle != nullptr) {
                CancelSynchronousIo(Reader->ThreadHandle);
            }
        }
        Sleep(1);
    }
    if (Reader->Finished) {
        Reader->Reading.join();
    } else {
        // A console whose read cannot be cancelled (older systems): the thread keeps only the reader,
        // which it shares, and posts to nobody; it ends with the process rather than hold the exit.
        Reader->Reading.detach();
    }
}

bool TConsoleInput::Typed() const {
    return Reader->Console;
}

void TConsoleInput::SetPrompt(const std::string& prompt) {
    Reader->Prompt = prompt;
}

void TConsoleInput::Show(const std::string& text) {
    Print(text);
}

void TConsoleInput::ShowError(const std::string& text) {
    PrintError(text);
}

void PrepareConsoleOutput() {
    SetConsoleOutputCP(CP_UTF8);
}
