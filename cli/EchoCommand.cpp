// echo: a companion copy that greets whoever appears and answers every memo with its own text.
#include <algorithm>

#include "cli/Commands.h"
#include "cli/Output.h"

namespace {

// Answers carry this first line and are never answered themselves, so two companions cannot keep
// answering each other.
const std::string AnswerMark = "You wrote:";

}  // namespace

int RunEcho(TCliSession& session, const TCliCommand& command, QCoreApplication& app) {
    TMessenger& messenger = session.Messenger();
    const std::string self = messenger.Computer();
    const TStringList greeting = TypedLines(command.Greeting.toStdString(), session.Text());
    TStringList known;
    messenger.OnUserListChange = [&](TMainMessenger&, const TStringList& users) {
        for (const auto& name : users) {
            if (!greeting.empty() && std::find(known.begin(), known.end(), name) == known.end()) {
                messenger.SendMemoTo(name, greeting);
            }
        }
        known = users;
    };
    messenger.OnNewMemo = [&](TMainMessenger&, const std::string& origin, const std::string&,
                              const TStringList& lines) {
        if (origin == self || (!lines.empty() && lines.front() == AnswerMark)) {
            return;
        }
        TStringList answer{AnswerMark};
        answer.insert(answer.end(), lines.begin(), lines.end());
        // The answer is a line longer than the memo, so a memo near the limit gets none: said, not hidden.
        if (const auto failure = messenger.SendMemoTo(origin, answer)) {
            PrintError("kestrin-cli: a memo was not answered: " + failure->Text() + "\n");
        }
    };
    if (!ActivateAndCheckName(session)) {
        return ExitCode::Failed;
    }
    return app.exec();
}
