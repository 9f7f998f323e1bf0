// The interactive session: reads memos and commands from the terminal while arrivals are shown.
#pragma once

#include <QObject>
#include <string>

#include "cli/CliSession.h"
#include "cli/EventFormatter.h"

class TInteractiveConsole final : public QObject {
    Q_OBJECT

public:
    TInteractiveConsole(TCliSession& session, QObject* parent = nullptr);

    /// Handles one typed line: a command, the sending ".", or a line of the memo being written.
    void HandleLine(const std::string& line);

signals:
    void QuitRequested();

private:
    void ReadInput(const QByteArray& bytes);
    void SendMemo();
    void ShowHelp();
    std::string TargetText() const;

    TCliSession& Session;
    TEventFormatter Format;
    std::string Pending;  ///< bytes read after the last line break
    TStringList Draft;    ///< the memo being written
    std::string Target;   ///< empty: every computer; else the name's bytes
    TStringList Known;    ///< the computers as last announced
};
