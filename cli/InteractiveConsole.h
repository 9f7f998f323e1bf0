// The interactive session: reads memos and commands from the terminal while arrivals are shown.
#pragma once

#include <QObject>
#include <string>

#include "cli/CliSession.h"
#include "cli/ConsoleInput.h"
#include "cli/EventFormatter.h"
#include "cli/MemoDraft.h"

class TInteractiveConsole final : public QObject {
    Q_OBJECT

public:
    TInteractiveConsole(TCliSession& session, TConsoleScreen& screen, QObject* parent = nullptr);

    /// Handles one typed line: a command, the sending ".", a line of the memo being written, or the answer
    /// to whether to quit.
    void HandleLine(const std::string& line);
    /// The end of input (Ctrl+D, or a pipe's end): leaves as /quit does.
    void HandleEnd();
    /// Whether a computer is listed under this name now (this computer counts as listed).
    bool Lists(const std::string& name) const;

signals:
    void QuitRequested();

private:
    /// Leaves, unless a memo is unsent and someone at the terminal can be asked first; `again` is true
    /// when the input ended while that question was open.
    void Leave(bool again);
    void Quit();
    void AddLine(const std::string& typed);
    void SendMemo();
    /// Shows a memo or line message once the history has it.
    void ShowArrival(const TArrival& arrival);
    void ShowHelp();
    QString TargetText() const;
    void ShowPrompt();
    const TStringList& Known() const { return Listed; }

    TCliSession& Session;
    TConsoleScreen& Screen;
    TEventFormatter Format;
    TMemoDraft Draft;     ///< the memo being written
    TStringList Listed;   ///< the computers listed now, kept one change at a time
    std::string Target;   ///< empty: every computer; else the name's bytes
    bool Asking = false;  ///< whether the next line answers "Quit anyway?"
    bool Leaving = false;
};
