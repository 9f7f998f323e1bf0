// The line being typed at a terminal, edited with libedit: arrow keys move in it, Up and Down go through
// the lines typed before, and text shown meanwhile appears above it.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct editline;
struct history;
class QSocketNotifier;

class TLineEditor {
public:
    /// Called with each line typed, without its line break, and with nothing for Ctrl+D on an empty line.
    using TLineHandler = std::function<void(std::optional<std::string> line)>;

    /// Whether standard input and output are both a terminal: only there is there a line to edit, and
    /// only there may the editor's cursor movements be written.
    static bool Usable();

    explicit TLineEditor(TLineHandler handler);
    ~TLineEditor();
    TLineEditor(const TLineEditor&) = delete;
    TLineEditor& operator=(const TLineEditor&) = delete;

    /// Reads what standard input holds now (a key, or the rest of a key's sequence); false once the
    /// terminal is gone.
    bool ReadKey();
    void SetPrompt(std::string prompt);
    /// Writes whole lines of text to `stream`: above the line being typed, which is then drawn again.
    void Show(std::FILE* stream, std::string_view text);

private:
    static char* PromptOf(struct editline* editor);
    /// After Ctrl+Z and fg: the shell left the terminal in its own modes; the editor's are set again and
    /// the line drawn anew.
    void Continue();
    void Finish(std::optional<std::string> line);
    /// Removes the prompt and the line being typed from the screen, leaving the cursor where the prompt
    /// began.
    void Erase();

    TLineHandler Handler;
    std::string Prompt;
    struct editline* Editor = nullptr;
    struct history* Lines = nullptr;  ///< the lines typed in this session (the type, not the function)
    bool Editing = false;             ///< a line is on the screen, the terminal in the editor's mode
    std::unique_ptr<QSocketNotifier> Continued;  ///< SIGCONT, through a pipe
};
