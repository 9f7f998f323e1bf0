// Line-based terminal session over the messenger.
#include "cli/InteractiveConsole.h"

#include <algorithm>

#include "cli/Commands.h"
#include "cli/ConsoleInput.h"
#include "cli/Output.h"
#include "qtcore/VisibleText.h"

TInteractiveConsole::TInteractiveConsole(TCliSession& session, QObject* parent)
    : QObject(parent), Session(session), Format(false, session.Text()) {
    TMessenger& messenger = Session.Messenger();
    messenger.OnNewMemo = [this](TMainMessenger&, const std::string& origin, const std::string& time,
                                 const TStringList& lines) { Print(Format.Memo(origin, time, lines)); };
    messenger.OnNewLine = [this](TMainMessenger&, const std::string& origin, const std::string& time,
                                 const std::string& line) { Print(Format.Line(origin, time, line)); };
    messenger.OnUserListChange = [this](TMainMessenger&, const TStringList& users) {
        Known = users;
        Print(Format.Users(users));
    };
    messenger.OnError = [](TMainMessenger&, const std::string& message) {
        PrintError("error: " + message + "\n");
    };
    auto* input = new TConsoleInput(this);
    connect(input, &TConsoleInput::Received, this, &TInteractiveConsole::ReadInput);
    // End of input (Ctrl+D) ends the session like /quit.
    connect(input, &TConsoleInput::Ended, this, &TInteractiveConsole::QuitRequested);
    Print("Kestrin console on " + Session.Text().Read(messenger.Computer()).toStdString() + ", mailbox " +
          messenger.BoxName() +
          ". Type a memo; a line with a single \".\" sends it. /help lists the commands.\n");
}

void TInteractiveConsole::ReadInput(const QByteArray& bytes) {
    Pending.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    for (auto end = Pending.find('\n'); end != std::string::npos; end = Pending.find('\n')) {
        std::string line = Pending.substr(0, end);
        Pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        HandleLine(line);
    }
}

void TInteractiveConsole::HandleLine(const std::string& line) {
    if (line == ".") {
        SendMemo();
    } else if (line == "/quit") {
        emit QuitRequested();
    } else if (line == "/help") {
        ShowHelp();
    } else if (line == "/all") {
        Target.clear();
        Print("sending to " + TargetText() + "\n");
    } else if (line.starts_with("/to ") && line.size() > 4) {
        // A name as listed goes to the bytes that arrived; any other is written like a text.
        const QString typed = Session.Text().Read(line.substr(4));
        const auto listed = std::find_if(Known.begin(), Known.end(), [&](const std::string& name) {
            return Session.Text().Read(name) == typed;
        });
        Target = listed != Known.end() ? *listed : Session.Text().Write(typed);
        Print("sending to " + TargetText() + "\n");
    } else if (line == "/who") {
        Print(Format.Users(Known));
    } else if (line == "/clear") {
        Draft.clear();
        Print("memo cleared\n");
    } else if (line.starts_with("/") && !line.starts_with("//")) {
        PrintError("unknown command " + line + "; /help lists the commands\n");
    } else {
        // "//" starts a memo line that itself begins with a slash.
        Draft.push_back(
            Session.Text().Write(Session.Text().Read(line.starts_with("//") ? line.substr(1) : line)));
    }
}

void TInteractiveConsole::SendMemo() {
    const std::size_t lines = Draft.size();
    const auto failure = Target.empty() ? Session.Messenger().SendMemoToAll(Draft)
                                        : Session.Messenger().SendMemoTo(Target, Draft);
    if (failure) {
        // Kept, so the user can send it elsewhere or start over with /clear.
        PrintError("error: " + failure->Text() + " The memo is kept; /clear forgets it.\n");
        return;
    }
    Draft.clear();
    Print("sent " + std::to_string(lines) + (lines == 1 ? " line" : " lines") + " to " + TargetText() + "\n");
}

void TInteractiveConsole::ShowHelp() {
    Print(
        "  any text     a line of the memo being written\n"
        "  .            sends the memo\n"
        "  /to NAME     send to one computer\n"
        "  /all         send to every computer (the start)\n"
        "  /who         the computers that announced themselves\n"
        "  /clear       forgets the memo being written\n"
        "  //text       a memo line that starts with \"/\"\n"
        "  /quit        leaves (as do Ctrl+D and Ctrl+C)\n");
}

std::string TInteractiveConsole::TargetText() const {
    return Target.empty() ? "every computer" : VisibleText(Session.Text().Read(Target)).toStdString();
}

int RunInteractive(TCliSession& session, const TCliCommand& /*command*/, QCoreApplication& app) {
    TInteractiveConsole console(session);
    QObject::connect(&console, &TInteractiveConsole::QuitRequested, &app, &QCoreApplication::quit);
    if (!ActivateAndCheckName(session)) {
        return ExitCode::Failed;
    }
    return app.exec();
}
