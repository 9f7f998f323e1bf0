// Standard input on the event loop, line by line, and the screen the interactive session writes to. At a
// terminal on Linux a line editor reads the keys; from a pipe or a file, or on Windows, the lines are split
// from the bytes as they come. A socket notifier watches standard input on Linux; a Windows console cannot
// be watched that way, so a reader thread posts what it reads there.
#pragma once

#include <QObject>
#include <cstddef>
#include <memory>
#include <string>

/// What the interactive session writes to, and whether someone there can be asked.
class TConsoleScreen {
public:
    virtual ~TConsoleScreen() = default;
    /// Whether a person types the lines, rather than a pipe or a file handing them over.
    virtual bool Typed() const = 0;
    /// Shown where the next line is typed (nothing for a pipe or a file).
    virtual void SetPrompt(const std::string& prompt) = 0;
    /// Whole lines on standard output or error; at a terminal above the line being typed.
    virtual void Show(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
};

class TConsoleInput final : public QObject, public TConsoleScreen {
    Q_OBJECT

public:
    /// A line of a pipe or a file longer than `longestLine` bytes arrives cut after one byte more.
    explicit TConsoleInput(std::size_t longestLine, QObject* parent = nullptr);
    ~TConsoleInput() override;

    bool Typed() const override;
    void SetPrompt(const std::string& prompt) override;
    void Show(const std::string& text) override;
    void ShowError(const std::string& text) override;

signals:
    /// A line as typed or read, in UTF-8 when typed, without its line break.
    void LineRead(const std::string& line);
    /// The input ended (Ctrl+D, Ctrl+Z on Windows, the end of a pipe or file). At a terminal the user may
    /// go on typing after Ctrl+D.
    void Ended();

private:
    struct TReader;
    std::shared_ptr<TReader> Reader;
};

/// Makes the console show the UTF-8 that the client prints (Windows consoles start in an OEM code page).
void PrepareConsoleOutput();
