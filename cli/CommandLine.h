// What the user asked kestrin-cli to do, read from its arguments.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct TCliCommand {
    enum class TKind { Interactive, Send, Listen, Who, Echo, Doctor, History };

    TKind Kind = TKind::Interactive;
    QString BoxName = "MB303";
    QString ConfigPath;  ///< empty: the user's settings file
    QString Target;      ///< send: the computer, or empty with ToAll
    bool ToAll = false;
    QStringList Text;         ///< send: the words given; empty reads standard input
    bool AllowEmpty = false;  ///< send: an empty memo from standard input goes rather than being refused
    bool Json = false;
    int WaitMs = 1500;
    QString Greeting;  ///< echo: sent to every computer that appears; empty sends none
    bool NoHistory = false;  ///< the interactive session, listen, echo: keep nothing in the history

    // history: which memos to show
    QString From;                         ///< the computer as shown, upper case; empty: every computer
    std::optional<std::int64_t> SinceMs;  ///< UTC milliseconds since 1970
    int Limit = 20;
    QStringList Words;  ///< searched for; empty: the newest memos
};

struct TCommandLineResult {
    std::optional<TCliCommand> Command;
    QString Error;   ///< why the arguments were refused
    QString Output;  ///< --help or --version text; print it and exit 0
};

TCommandLineResult ParseCommandLine(const QStringList& arguments);
