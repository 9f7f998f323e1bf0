// Standard input on the event loop, as it arrives: a terminal's lines, a pipe's or a file's bytes, then its
// end. A socket notifier watches it on Linux; a Windows console cannot be watched that way, so a reader
// thread posts what it reads there.
#pragma once

#include <QByteArray>
#include <QObject>
#include <memory>

class TConsoleInput final : public QObject {
    Q_OBJECT

public:
    explicit TConsoleInput(QObject* parent = nullptr);
    ~TConsoleInput() override;

signals:
    /// Bytes as read; typed text arrives in UTF-8.
    void Received(const QByteArray& bytes);
    /// The input ended (Ctrl+D, Ctrl+Z on Windows, the end of a pipe or file); nothing follows.
    void Ended();

private:
    struct TReader;
    std::shared_ptr<TReader> Reader;
};

/// Makes the console show the UTF-8 that the client prints (Windows consoles start in an OEM code page).
void PrepareConsoleOutput();
