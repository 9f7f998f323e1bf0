// echo: a companion copy that greets whoever appears and answers every memo with its own text.
#include <algorithm>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "qtcore/SendFailureText.h"

namespace {

// Answers carry this first line and are never answered themselves, so two companions cannot keep
// answering each other. Never translated: companions on computers of other languages must know it too.
const std::string AnswerMark = "You wrote:";

// What the user reads, in the translation context "TEchoCommand".
struct TEchoCommand {
    Q_DECLARE_TR_FUNCTIONS(TEchoCommand)
};

}  // namespace

int RunEcho(TCliSession& session, const TCliCommand& command, QCoreApplication& app) {
    TMessenger& messenger = session.Messenger();
    const std::string self = messenger.Computer();
    const TStringList greeting = TypedLines(command.Greeting.toStdString(), session.Text());
    TSessionHistory& history = session.History();
    TStringList known;
    messenger.OnUserListChange = [&](TMainMessenger&, const TStringList& users) {
        for (const auto& name : users) {
            if (!greeting.empty() && std::find(known.begin(), known.end(), name) == known.end() &&
                !messenger.SendMemoTo(name, greeting)) {
                history.Sent(name, greeting, true);
            }
        }
        known = users;
    };
    const auto answerMemo = [&messenger, &history, &self](const std::string& origin,
                                                          const TStringList& lines) {
        if (origin == self || (!lines.empty() && lines.front() == AnswerMark)) {
            return;
        }
        TStringList answer{AnswerMark};
        answer.insert(answer.end(), lines.begin(), lines.end());
        // The answer is a line longer than the memo, so a memo near the limit gets none: said, not hidden.
        if (const auto failure = messenger.SendMemoTo(origin, answer)) {
            PrintError(
                "kestrin-cli: " +
                TEchoCommand::tr("a memo was not answered: %1").arg(SendFailureText(*failure)).toStdString() +
                "\n");
        } else {
            history.Sent(origin, answer, true);
        }
    };
    // Answered once it is kept, as the other copies print a memo once it is kept.
    messenger.OnNewMemo = [&](TMainMessenger&, const std::string& origin, const std::string& time,
                              const TStringList& lines) {
        history.Received(session.Peers().Memo(origin, time, lines),
                         [answerMemo, origin, lines] { answerMemo(origin, lines); });
    };
    messenger.OnNewLine = [&](TMainMessenger&, const std::string& origin, const std::string& time,
                              const std::string& line) {
        history.Received(session.Peers().Line(origin, time, line), [] {});
    };
    if (!ActivateAndCheckName(session)) {
        return ExitCode::Failed;
    }
    const int code = app.exec();
    history.Flush();
    return code;
}
