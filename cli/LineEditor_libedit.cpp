// The line editor on libedit's own interface (el_*), not its readline-compatible one: that one keeps
// rl_line_buffer in step with the line only while it reads, so the line cannot be saved and put back around
// text shown meanwhile. Here el_line tells the line and the cursor at any time, and EL_REFRESH draws them
// again.
//
// The editor runs unbuffered: each el_gets reads what one key sent and returns at once, so the Qt event loop
// goes on between keys (a socket notifier on standard input calls ReadKey). Between two lines the editor is
// switched back to buffered, which puts the terminal back the way it was while the line is handled, and
// starts the next one with a fresh prompt.
#include <fcntl.h>
#include <histedit.h>
#include <poll.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QString>
#include <cerrno>
#include <csignal>
#include <cwchar>

#include "cli/LineEditor.h"

namespace {

// Columns the text takes on the terminal; libedit shows a control character as ^X, in two.
std::size_t Columns(std::wstring_view text) {
    std::size_t columns = 0;
    for (const wchar_t character : text) {
        const int width = ::wcwidth(character);
        columns += width < 0 ? 2 : static_cast<std::size_t>(width);
    }
    return columns;
}

// Whether the terminal on standard input is gone (its window closed), where reading only ever ends.
bool HungUp() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    return ::poll(&input, 1, 0) > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// SIGCONT as a byte to read on the event loop (one editor at a time).
int ContinuedPipe[2] = {-1, -1};

extern "C" void OnContinued(int /*signal*/) {
    const char byte = 0;
    [[maybe_unused]] const auto written = ::write(ContinuedPipe[1], &byte, 1);
}

}  // namespace

bool TLineEditor::Usable() {
    return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1;
}

TLineEditor::TLineEditor(TLineHandler handler) : Handler(std::move(handler)) {
    HistEvent event;
    Lines = history_init();
    history(Lines, &event, H_SETSIZE, 1000);
    history(Lines, &event, H_SETUNIQUE, 1);
    Editor = el_init("kestrin-cli", stdin, stdout, stderr);
    el_set(Editor, EL_CLIENTDATA, this);
    el_set(Editor, EL_PROMPT, &TLineEditor::PromptOf);
    el_set(Editor, EL_EDITOR, "emacs");
    el_set(Editor, EL_HIST, history, Lines);
    // The user's ~/.editrc, as every program on libedit reads it.
    el_source(Editor, nullptr);
    el_set(Editor, EL_UNBUFFERED, 1);
    Editing = true;
    if (::pipe2(ContinuedPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        Continued = std::make_unique<QSocketNotifier>(ContinuedPipe[0], QSocketNotifier::Read);
        QObject::connect(Continued.get(), &QSocketNotifier::activated, [this] { Continue(); });
        struct sigaction action {};
        action.sa_handler = OnContinued;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGCONT, &action, nullptr);
    }
}

TLineEditor::~TLineEditor() {
    if (Continued) {
        std::signal(SIGCONT, SIG_DFL);
        Continued.reset();
        for (int& end : ContinuedPipe) {
            ::close(end);
            end = -1;
        }
    }
    if (Editing) {
        // A line left unfinished stays on the screen, below it the shell's prompt; a bare prompt goes.
        const LineInfo* line = el_line(Editor);
        if (line->lastchar == line->buffer) {
            Erase();
        } else {
            std::fputs("\n", stdout);
        }
        std::fflush(stdout);
    }
    // Puts the terminal back as it was found.
    el_end(Editor);
    history_end(Lines);
}

char* TLineEditor::PromptOf(EditLine* editor) {
    TLineEditor* self = nullptr;
    el_get(editor, EL_CLIENTDATA, &self);
    return self->Prompt.data();
}

bool TLineEditor::ReadKey() {
    int count = 0;
    errno = 0;
    const char* typed = el_gets(Editor, &count);
    if (typed == nullptr) {
        // An emptied line (Ctrl+U, Backspace) comes back as nothing, with -1 and no error; an end of input
        // as nothing with 0.
        const bool failed = count == 0 || (errno != 0 && errno != EINTR && errno != EAGAIN);
        return !failed && !HungUp();
    }
    const std::string_view line(typed, static_cast<std::size_t>(count));
    if (line == "\x04") {
        // Ctrl+D on an empty line: unbuffered, libedit hands it over as the line.
        Erase();
        Finish(std::nullopt);
    } else if (line.back() == '\n') {
        Finish(std::string(line.substr(0, line.size() - 1)));
    }
    return true;
}

void TLineEditor::Continue() {
    char byte = 0;
    while (::read(ContinuedPipe[0], &byte, 1) == 1) {
    }
    if (Editing) {
        // libedit takes the terminal for still being in its mode: it is told otherwise first.
        el_set(Editor, EL_PREP_TERM, 0);
        el_set(Editor, EL_PREP_TERM, 1);
        el_set(Editor, EL_REFRESH);
    }
}

void TLineEditor::Finish(std::optional<std::string> line) {
    el_set(Editor, EL_UNBUFFERED, 0);
    Editing = false;
    if (line && !line->empty()) {
        HistEvent event;
        history(Lines, &event, H_ENTER, line->c_str());
    }
    Handler(std::move(line));
    el_set(Editor, EL_UNBUFFERED, 1);
    Editing = true;
}

void TLineEditor::SetPrompt(std::string prompt) {
    if (!Editing) {
        Prompt = std::move(prompt);
        return;
    }
    Erase();
    Prompt = std::move(prompt);
    el_set(Editor, EL_REFRESH);
}

void TLineEditor::Show(std::FILE* stream, std::string_view text) {
    if (Editing) {
        Erase();
    }
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
    if (Editing) {
        // EL_REFRESH draws the prompt and the line anew from where the cursor is, below the text.
        el_set(Editor, EL_REFRESH);
    }
}

void TLineEditor::Erase() {
    int width = 0;
    el_get(Editor, EL_GETTC, "co", &width, nullptr);
    const LineInfoW* line = el_wline(Editor);
    const std::size_t before =
        Columns(QString::fromStdString(Prompt).toStdWString()) +
        Columns(std::wstring_view(line->buffer, static_cast<std::size_t>(line->cursor - line->buffer)));
    const std::size_t rowsAbove = width > 0 ? before / static_cast<std::size_t>(width) : 0;
    // Up to the prompt's row, to its start, and everything from there down: the sequences that every
    // terminal in use understands (ANSI), where the line may wrap over several rows.
    std::string erase = rowsAbove > 0 ? "\x1b[" + std::to_string(rowsAbove) + "A" : "";
    erase += "\r\x1b[J";
    std::fputs(erase.c_str(), stdout);
    std::fflush(stdout);
}
