// Standard input read by a thread of its own, which posts each piece to the event loop. A console is read as
// the characters typed (its own code page would turn them into OEM bytes); a pipe or a file as its bytes.
#include <windows.h>

#include <QMetaObject>
#include <QString>
#include <array>
#include <mutex>
#include <thread>

#include "cli/ConsoleInput.h"

struct TConsoleInput::TReader {
    std::mutex Mutex;
    TConsoleInput* Owner = nullptr;  ///< null once the input object is gone

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

// The next piece of input in UTF-8; empty at its end.
QByteArray ReadPiece(HANDLE input, bool console) {
    if (console) {
        std::array<wchar_t, 1024> typed{};
        DWORD count = 0;
        if (!ReadConsoleW(input, typed.data(), static_cast<DWORD>(typed.size()), &count, nullptr) ||
            count == 0) {
            return {};
        }
        QByteArray text = QString::fromWCharArray(typed.data(), static_cast<qsizetype>(count)).toUtf8();
        // Ctrl+Z at the start of a line ends the input, as it does for every console program.
        const qsizetype end = text.indexOf('\x1a');
        return end < 0 ? text : text.left(end);
    }
    std::array<char, 4096> buffer{};
    DWORD count = 0;
    if (!ReadFile(input, buffer.data(), static_cast<DWORD>(buffer.size()), &count, nullptr) || count == 0) {
        return {};
    }
    return QByteArray(buffer.data(), static_cast<qsizetype>(count));
}

}  // namespace

TConsoleInput::TConsoleInput(QObject* parent) : QObject(parent), Reader(std::make_shared<TReader>()) {
    Reader->Owner = this;
    // The thread may be blocked in a read when the program ends; it is left to end with the process, and
    // what it reads after this object is gone goes nowhere.
    std::thread([reader = Reader] {
        const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
        DWORD mode = 0;
        const bool console = GetConsoleMode(input, &mode) != FALSE;
        for (;;) {
            const QByteArray piece = ReadPiece(input, console);
            if (piece.isEmpty()) {
                reader->Post([](TConsoleInput& owner) { emit owner.Ended(); });
                return;
            }
            if (!reader->Post([piece](TConsoleInput& owner) { emit owner.Received(piece); })) {
                return;
            }
        }
    }).detach();
}

TConsoleInput::~TConsoleInput() {
    std::lock_guard lock(Reader->Mutex);
    Reader->Owner = nullptr;
}

void PrepareConsoleOutput() {
    SetConsoleOutputCP(CP_UTF8);
}
