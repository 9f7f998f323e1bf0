// send, listen and who.
#include "cli/Commands.h"

#include <QTimer>
#include <iostream>

#include "cli/EventFormatter.h"
#include "cli/MemoLimit.h"
#include "cli/Output.h"
#include "messenger/ComputerName.h"
#include "qtcore/SendFailureText.h"
#include "qtcore/VisibleText.h"

namespace {

// What the user reads, in the translation context "TCommands".
struct TCommands {
    Q_DECLARE_TR_FUNCTIONS(TCommands)
};

}  // namespace

TStringList MemoLines(const std::string& text) {
    TStringList lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

TStringList TypedLines(const std::string& typed, const TWireText& text) {
    TStringList lines = MemoLines(typed);
    for (auto& line : lines) {
        line = text.Write(text.Read(line));
    }
    return lines;
}

void ReportSettingsProblems(const QStringList& problems) {
    for (const QString& problem : problems) {
        PrintError("kestrin-cli: " + TCommands::tr("settings: %1").arg(problem).toStdString() + "\n");
    }
}

bool ActivateOrReport(TCliSession& session) {
    QString error;
    if (session.Activate(error)) {
        return true;
    }
    PrintError("kestrin-cli: " + error.toStdString() + "\n");
    return false;
}

bool ActivateAndCheckName(TCliSession& session) {
    if (!ActivateOrReport(session)) {
        return false;
    }
    // Asked beside the copy's first moments rather than before them: the answers to its announcement are
    // arriving meanwhile.
    session.CheckNameInBackground([](const std::string& warning) { PrintError("kestrin-cli: " + warning + "\n"); });
    return true;
}

TSendText ReadSendText(const TCliCommand& command, std::istream& input, std::size_t longestMemo) {
    if (!command.Text.isEmpty()) {
        return {command.Text.join(' ').toStdString(), {}, ExitCode::Ok};
    }
    TBoundedRead read = ReadAtMost(input, LongestTypedBytes(longestMemo));
    if (!read.Whole) {
        return {
            {},
            TCommands::tr("the memo is longer than %1 bytes, the most any computer takes; nothing was sent")
                .arg(longestMemo)
                .toStdString(),
            ExitCode::Failed};
    }
    // Most likely a script whose text went missing (a file not found, a command that printed nothing).
    if (!command.AllowEmpty && read.Bytes.find_first_not_of(" \t\r\n") == std::string::npos) {
        return {
            {},
            TCommands::tr("the memo on standard input is empty; nothing was sent (--allow-empty sends it)")
                .toStdString(),
            ExitCode::BadArguments};
    }
    return {std::move(read.Bytes), {}, ExitCode::Ok};
}

int RunSend(TCliSession& session, const TCliCommand& command) {
    const TSendText text = ReadSendText(command, std::cin, session.LongestMemoBytes());
    if (!text.Refusal.empty()) {
        PrintError("kestrin-cli: " + text.Refusal + "\n");
        return text.Code;
    }
    const TStringList lines = TypedLines(text.Text, session.Text());
    TMessenger& messenger = session.Messenger();

    const std::string target = session.Text().Write(command.Target);
    const auto failure = command.ToAll ? messenger.SendMemoToAll(lines) : messenger.SendMemoTo(target, lines);
    if (failure && failure->NotSent.empty()) {
        PrintError("kestrin-cli: " + SendFailureText(*failure).toStdString() + "\n");
        return ExitCode::Failed;
    }
    // What could be done is done (the own copy has a memo to all); a script must not take it for delivered.
    const bool toThisComputer = !command.ToAll && SameComputerName(target, messenger.Computer());
    if (!toThisComputer && !session.ReachesOtherComputers()) {
        const QString why =
            command.ToAll ? TCommands::tr("no network to send on is up: only this computer got the memo")
                          : TCommands::tr("no network to send on is up: the memo was not sent");
        PrintError("kestrin-cli: " + why.toStdString() + "\n");
        return ExitCode::Failed;
    }
    if (failure) {
        const QString why = QString::fromStdString(failure->NotSent);
        const QString said =
            command.ToAll
                ? TCommands::tr("the memo to all was not sent: %1").arg(why)
                : TCommands::tr("the memo to %1 was not sent: %2").arg(VisibleText(command.Target), why);
        PrintError("kestrin-cli: " + said.toStdString() + "\n");
        return ExitCode::Failed;
    }
    return ExitCode::Ok;
}

int RunListen(TCliSession& session, const TCliCommand& command, QCoreApplication& app) {
    const TEventFormatter format(command.Json, session.Text());
    TMessenger& messenger = session.Messenger();
    TSessionHistory& history = session.History();
    const auto show = [&format, &history](const TArrival& arrival) {
        history.Received(arrival, [&format, arrival] { Print(format.Arrival(arrival)); });
    };
    messenger.OnNewMemo = [&session, show](TMainMessenger&, const std::string& origin,
                                           const std::string& time, const TStringList& lines) {
        show(session.Peers().Memo(origin, time, lines));
    };
    messenger.OnNewLine = [&session, show](TMainMessenger&, const std::string& origin,
                                           const std::string& time, const std::string& line) {
        show(session.Peers().Line(origin, time, line));
    };
    messenger.OnUserChange = [&format](TMainMessenger&, const std::string& name, TUserChange change) {
        Print(format.Change(name, change));
    };
    if (!ActivateAndCheckName(session)) {
        return ExitCode::Failed;
    }
    // Bound only once active, so that a failed activation is told once, by ActivateAndCheckName; from then
    // on a datagram that could not be sent is told as it happens, with the count so far.
    messenger.OnError = [&format](TMainMessenger& sender, const std::string& text) {
        Print(format.Error(text, sender.SendTally().NotSent));
    };
    const int code = app.exec();
    history.Flush();
    return code;
}

int RunWho(TCliSession& session, const TCliCommand& command, QCoreApplication& app) {
    if (!ActivateOrReport(session)) {
        return ExitCode::Failed;
    }
    QTimer::singleShot(command.WaitMs, &app, &QCoreApplication::quit);
    const int code = app.exec();
    for (const auto& name : session.Messenger().Users()) {
        Print(session.Peers().Name(name).Shown.toStdString() + "\n");
    }
    return code;
}
