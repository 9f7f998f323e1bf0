// Line-based terminal session over the messenger.
#include "cli/InteractiveConsole.h"

#include <algorithm>

#include "cli/Commands.h"
#include "cli/MemoLimit.h"
#include "messenger/ComputerName.h"
#include "qtcore/SendFailureText.h"

namespace {

// What the console shows, in the terminal's UTF-8.
std::string Utf8(const QString& text) {
    return text.toStdString();
}

}  // namespace

TInteractiveConsole::TInteractiveConsole(TCliSession& session, TConsoleScreen& screen, QObject* parent)
    : QObject(parent),
      Session(session),
      Screen(screen),
      Format(false, session.Text()),
      Draft(session.LongestMemoBytes()) {
    TMessenger& messenger = Session.Messenger();
    messenger.OnNewMemo = [this](TMainMessenger&, const std::string& origin, const std::string& time,
                                 const TStringList& lines) {
        ShowArrival(Session.Peers().Memo(origin, time, lines));
    };
    messenger.OnNewLine = [this](TMainMessenger&, const std::string& origin, const std::string& time,
                                 const std::string& line) {
        ShowArrival(Session.Peers().Line(origin, time, line));
    };
    // One line a change, however long the list: /who shows it whole.
    messenger.OnUserChange = [this](TMainMessenger&, const std::string& name, TUserChange change) {
        if (change == TUserChange::Joined) {
            Listed.push_back(name);
        } else {
            std::erase(Listed, name);
        }
        Screen.Show(Format.Change(name, change));
    };
    messenger.OnError = [this](TMainMessenger&, const std::string& message) {
        Screen.ShowError(Utf8(tr("error: %1").arg(QString::fromStdString(message))) + "\n");
    };
    Screen.Show(
        Utf8(tr("Kestrin console on %1, mailbox %2. Type a memo; a line with a single \".\" sends it, to "
                "every computer until /to NAME names one (/all: every computer again). /help lists the "
                "commands.")
                 .arg(Session.Peers().Name(messenger.Computer()).Shown,
                      QString::fromStdString(messenger.BoxName()))) +
        "\n");
    ShowPrompt();
}

void TInteractiveConsole::HandleLine(const std::string& line) {
    if (Leaving) {
        return;
    }
    if (Asking) {
        Asking = false;
        // The English answers count in every language, beside the language's own.
        if (const QString answer = QString::fromStdString(line).trimmed().toLower();
            answer == "y" || answer == "yes" || tr("y", "the short answer to Quit anyway?") == answer ||
            tr("yes", "the answer to Quit anyway?") == answer) {
            Quit();
            return;
        }
        ShowPrompt();
        Screen.Show(Utf8(tr("the memo is kept")) + "\n");
    } else if (line == ".") {
        SendMemo();
    } else if (line == "/quit") {
        Leave(false);
    } else if (line == "/help") {
        ShowHelp();
    } else if (line == "/all") {
        Target.clear();
        Screen.Show(Utf8(tr("sending to %1").arg(TargetText())) + "\n");
        ShowPrompt();
    } else if (line.starts_with("/to ") && line.size() > 4) {
        Target = Session.Peers().Target(Session.Text().Read(line.substr(4)), Known());
        // It still goes: the computer may be there without having announced itself to this one.
        Screen.Show(
            Utf8(Lists(Target)
                     ? tr("sending to %1").arg(TargetText())
                     : tr("sending to %1 (no computer lists itself under that name now)").arg(TargetText())) +
            "\n");
        ShowPrompt();
    } else if (line == "/who") {
        Screen.Show(Format.Users(Known()));
    } else if (line == "/clear") {
        Draft.Clear();
        Screen.Show(Utf8(tr("memo cleared")) + "\n");
    } else if (line.starts_with("/") && !line.starts_with("//")) {
        Screen.ShowError(
            Utf8(tr("unknown command %1; /help lists the commands").arg(Session.Text().Read(line))) + "\n");
    } else {
        // "//" starts a memo line that itself begins with a slash.
        AddLine(line.starts_with("//") ? line.substr(1) : line);
    }
}

void TInteractiveConsole::HandleEnd() {
    // Ctrl+D at the question answers it as a second Ctrl+D would: leave.
    Leave(Asking);
}

bool TInteractiveConsole::Lists(const std::string& name) const {
    return SameComputerName(name, Session.Messenger().Computer()) ||
           std::any_of(Known().begin(), Known().end(),
                       [&](const std::string& listed) { return SameComputerName(listed, name); });
}

void TInteractiveConsole::Leave(bool again) {
    if (Draft.Empty()) {
        Quit();
        return;
    }
    // English chooses its word by the count itself; other languages have forms of their own for each count.
    const int lines = static_cast<int>(Draft.Lines().size());
    if (Screen.Typed() && !again) {
        Asking = true;
        Screen.SetPrompt(
            Utf8(lines == 1 ? tr("The memo of %n line is not sent. Quit anyway? [y/N] ", nullptr, lines)
                            : tr("The memo of %n lines is not sent. Quit anyway? [y/N] ", nullptr, lines)));
        return;
    }
    Screen.ShowError("kestrin-cli: " +
                     Utf8(lines == 1 ? tr("discarded an unsent memo of %n line", nullptr, lines)
                                     : tr("discarded an unsent memo of %n lines", nullptr, lines)) +
                     "\n");
    Quit();
}

void TInteractiveConsole::Quit() {
    Leaving = true;
    emit QuitRequested();
}

void TInteractiveConsole::AddLine(const std::string& typed) {
    const bool wasOverfull = Draft.Overfull();
    if (!Draft.Add(Session.Text().Write(Session.Text().Read(typed))) && !wasOverfull) {
        Screen.ShowError(
            Utf8(tr("error: the memo is longer than %1 bytes, the most any computer takes: no more "
                    "lines are added to it, and \".\" or /clear discards it.")
                     .arg(Session.LongestMemoBytes())) +
            "\n");
    }
}

void TInteractiveConsole::SendMemo() {
    if (Draft.Overfull()) {
        Draft.Clear();
        Screen.ShowError(
            Utf8(tr("error: the memo is longer than %1 bytes, the most any computer takes; nothing "
                    "was sent and it is discarded.")
                     .arg(Session.LongestMemoBytes())) +
            "\n");
        return;
    }
    const int lines = static_cast<int>(Draft.Lines().size());
    const auto failure = Target.empty() ? Session.Messenger().SendMemoToAll(Draft.Lines())
                                        : Session.Messenger().SendMemoTo(Target, Draft.Lines());
    if (failure) {
        // Kept, so the user can send it elsewhere or start over with /clear.
        Screen.ShowError(
            Utf8(tr("error: %1 The memo is kept; /clear forgets it.").arg(SendFailureText(*failure))) + "\n");
        return;
    }
    Session.History().Sent(Target, Draft.Lines(), true);
    Draft.Clear();
    Screen.Show(Utf8((lines == 1 ? tr("sent %n line to %1", nullptr, lines)
                                 : tr("sent %n lines to %1", nullptr, lines))
                         .arg(TargetText())) +
                "\n");
}

void TInteractiveConsole::ShowArrival(const TArrival& arrival) {
    Session.History().Received(arrival, [this, arrival] { Screen.Show(Format.Arrival(arrival)); });
}

void TInteractiveConsole::ShowHelp() {
    Screen.Show(
        Utf8(tr("  any text     a line of the memo being written\n"
                "  .            sends the memo\n"
                "  /to NAME     send to one computer\n"
                "  /all         send to every computer (the start)\n"
                "  /who         the computers that announced themselves\n"
                "  /clear       forgets the memo being written\n"
                "  //text       a memo line that starts with \"/\"\n"
                "  /quit        leaves (as do Ctrl+D and Ctrl+C)\n")));
}

QString TInteractiveConsole::TargetText() const {
    return Target.empty() ? tr("every computer") : Session.Peers().Name(Target).Shown;
}

void TInteractiveConsole::ShowPrompt() {
    Screen.SetPrompt(Utf8(tr("to %1> ").arg(TargetText())));
}

int RunInteractive(TCliSession& session, const TCliCommand& /*command*/, QCoreApplication& app) {
    TConsoleInput input(LongestTypedBytes(session.LongestMemoBytes()));
    TInteractiveConsole console(session, input);
    QObject::connect(&input, &TConsoleInput::LineRead, &console, &TInteractiveConsole::HandleLine);
    QObject::connect(&input, &TConsoleInput::Ended, &console, &TInteractiveConsole::HandleEnd);
    QObject::connect(&console, &TInteractiveConsole::QuitRequested, &app, &QCoreApplication::quit);
    // As ActivateAndCheckName does, but through the screen, which keeps the line being typed whole.
    if (QString error; !session.Activate(error)) {
        input.ShowError("kestrin-cli: " + error.toStdString() + "\n");
        return ExitCode::Failed;
    }
    session.CheckNameInBackground(
        [&input](const std::string& warning) { input.ShowError("kestrin-cli: " + warning + "\n"); });
    session.History().OnProblem(
        [&input](const std::string& text) { input.ShowError("kestrin-cli: " + text + "\n"); });
    const int code = app.exec();
    session.History().Flush();
    return code;
}
