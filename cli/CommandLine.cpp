// Argument parsing with QCommandLineParser: one parser per command, so --help lists what applies.
#include "cli/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

namespace {

// What the user reads, in the translation context "TCommandLine".
struct TCommandLine {
    Q_DECLARE_TR_FUNCTIONS(TCommandLine)
};

// Translated when the parser is made, in the language installed by then.
const char* const Summary = QT_TRANSLATE_NOOP(
    "TCommandLine",
    "Kestrin console client: chat with the computers of this network.\n"
    "\n"
    "Commands:\n"
    "  (none)                      interactive session: shows arrivals and the list of computers;\n"
    "                              type a memo, a line with a single \".\" sends it\n"
    "  send (--to NAME | --all) [--allow-empty] [TEXT...]\n"
    "                              sends TEXT (or standard input) as one memo, then exits;\n"
    "                              an empty memo from standard input is refused (exit code 2)\n"
    "  listen [--json]             prints every arrival and list change until stopped\n"
    "  who [--wait MS]             announces itself, prints the computers that answer, leaves\n"
    "  echo [--greeting TEXT]      answers every memo with its own text, and greets every computer\n"
    "                              that appears; a companion for trying Kestrin out\n"
    "  doctor [--json]             checks why other computers may not be seen: the name, the ports,\n"
    "                              the capabilities, the interfaces, the firewall, a round trip\n"
    "  history [--json] [--from NAME] [--since DATE] [--limit N] [WORDS...]\n"
    "                              the memos this computer received and sent, newest first; with\n"
    "                              WORDS those that hold every word; DATE is YYYY-MM-DD or\n"
    "                              YYYY-MM-DDTHH:MM in local time\n"
    "\n"
    "The interactive session, listen and echo keep what they receive and send in the history\n"
    "(unless --no-history, or [History] Enabled=0 in the settings file).");

void AddCommonOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(TCommandLine::tr(Summary));
    parser.addHelpOption();
    parser.addVersionOption();
    // One word in English, two in a language that names a computer otherwise than a mailbox.
    const QString computer = TCommandLine::tr("NAME", "the value of --to and --from: a computer's name");
    parser.addOption({"box", TCommandLine::tr("Mailbox name shared by the group (default MB303)."),
                      TCommandLine::tr("NAME", "the value of --box: a mailbox's name"), "MB303"});
    parser.addOption(
        {"config",
         TCommandLine::tr("Settings file to read [Network] and [History] from (default: the user's)."),
         TCommandLine::tr("FILE")});
    parser.addOption({"to", TCommandLine::tr("send: the computer to send to."), computer});
    parser.addOption({"all", TCommandLine::tr("send: send to every computer.")});
    parser.addOption(
        {"allow-empty",
         TCommandLine::tr("send: send an empty memo read from standard input instead of refusing it.")});
    parser.addOption({"json", TCommandLine::tr("listen, doctor, history: one JSON object per line.")});
    parser.addOption({"wait", TCommandLine::tr("who: how long to wait for answers (default 1500)."),
                      TCommandLine::tr("MS"), "1500"});
    parser.addOption({"greeting", TCommandLine::tr("echo: memo sent to every computer that appears."),
                      TCommandLine::tr("TEXT")});
    parser.addOption(
        {"no-history", TCommandLine::tr("interactive session, listen, echo: keep nothing in the history.")});
    parser.addOption(
        {"from", TCommandLine::tr("history: only the memos from or to this computer."), computer});
    parser.addOption(
        {"since", TCommandLine::tr("history: only the memos since this date (YYYY-MM-DD) or time, local."),
         TCommandLine::tr("DATE")});
    parser.addOption({"limit", TCommandLine::tr("history: how many memos at most (default 20)."),
                      TCommandLine::tr("N"), "20"});
    parser.addPositionalArgument(
        "command",
        TCommandLine::tr("send, listen, who, echo, doctor or history; none for an interactive session."),
        TCommandLine::tr("[command]"));
}

/// A day (its start) or a moment in ISO 8601, in local time unless it names its offset; as UTC milliseconds.
std::optional<std::int64_t> SinceMs(const QString& text) {
    QDateTime since;
    // QDate reads the day at the start of a longer text too, and would drop the time after it.
    if (const QDate day = QDate::fromString(text, Qt::ISODate); day.isValid() && text.size() == 10) {
        since = day.startOfDay();
    } else {
        // A blank between the day and the time is how people write it; ISO 8601 wants a "T".
        since = QDateTime::fromString(QString(text).replace(' ', 'T'), Qt::ISODate);
    }
    if (!since.isValid()) {
        return std::nullopt;
    }
    return since.toMSecsSinceEpoch();
}

}  // namespace

TCommandLineResult ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    AddCommonOptions(parser);
    TCommandLineResult result;
    if (!parser.parse(arguments)) {
        result.Error = parser.errorText();
        return result;
    }
    if (parser.isSet("help")) {
        result.Output = parser.helpText();
        return result;
    }
    if (parser.isSet("version")) {
        result.Output = QStringLiteral("kestrin-cli 1.0.0\n");
        return result;
    }
    TCliCommand command;
    command.BoxName = parser.value("box");
    command.ConfigPath = parser.value("config");
    if (command.BoxName.isEmpty() || command.BoxName.contains('\\')) {
        result.Error = TCommandLine::tr("--box needs a name without backslashes");
        return result;
    }
    QStringList positional = parser.positionalArguments();
    const QString verb = positional.isEmpty() ? QString() : positional.takeFirst();
    const auto refuse = [&result](const QString& why) {
        result.Error = why;
        return result;
    };
    if (verb.isEmpty()) {
        command.Kind = TCliCommand::TKind::Interactive;
    } else if (verb == "send") {
        command.Kind = TCliCommand::TKind::Send;
        command.ToAll = parser.isSet("all");
        command.Target = parser.value("to");
        command.AllowEmpty = parser.isSet("allow-empty");
        if (command.ToAll == parser.isSet("to")) {
            return refuse(TCommandLine::tr("send needs exactly one of --to NAME and --all"));
        }
        if (!command.ToAll && (command.Target.isEmpty() || command.Target == "*")) {
            return refuse(
                TCommandLine::tr("--to needs a computer name; use --all to send to every computer"));
        }
        command.Text = positional;
        positional.clear();
    } else if (verb == "listen") {
        command.Kind = TCliCommand::TKind::Listen;
        command.Json = parser.isSet("json");
    } else if (verb == "who") {
        command.Kind = TCliCommand::TKind::Who;
        bool ok = false;
        command.WaitMs = parser.value("wait").toInt(&ok);
        if (!ok || command.WaitMs < 0) {
            return refuse(TCommandLine::tr("--wait needs a number of milliseconds"));
        }
    } else if (verb == "doctor") {
        command.Kind = TCliCommand::TKind::Doctor;
        command.Json = parser.isSet("json");
    } else if (verb == "echo") {
        command.Kind = TCliCommand::TKind::Echo;
        command.Greeting = parser.value("greeting");
    } else if (verb == "history") {
        command.Kind = TCliCommand::TKind::History;
        command.Json = parser.isSet("json");
        // Computer names are upper case wherever they come from, so the name is matched as typed in any case.
        command.From = parser.value("from").toUpper();
        if (parser.isSet("from") && command.From.isEmpty()) {
            return refuse(TCommandLine::tr("--from needs a computer name"));
        }
        if (parser.isSet("since")) {
            command.SinceMs = SinceMs(parser.value("since"));
            if (!command.SinceMs) {
                return refuse(
                    TCommandLine::tr("--since needs a date such as 2026-12-24 or 2026-12-24T14:30"));
            }
        }
        bool ok = false;
        command.Limit = parser.value("limit").toInt(&ok);
        if (!ok || command.Limit < 1) {
            return refuse(TCommandLine::tr("--limit needs a number of memos from 1 on"));
        }
        command.Words = positional;
        positional.clear();
    } else {
        return refuse(TCommandLine::tr("unknown command \"%1\"; try --help").arg(verb));
    }
    if (!positional.isEmpty()) {
        return refuse(TCommandLine::tr("unexpected argument \"%1\"").arg(positional.first()));
    }
    if (command.Kind != TCliCommand::TKind::Send &&
        (parser.isSet("to") || parser.isSet("all") || parser.isSet("allow-empty"))) {
        return refuse(TCommandLine::tr("--to, --all and --allow-empty belong to the send command"));
    }
    if (command.Kind != TCliCommand::TKind::History &&
        (parser.isSet("from") || parser.isSet("since") || parser.isSet("limit"))) {
        return refuse(TCommandLine::tr("--from, --since and --limit belong to the history command"));
    }
    command.NoHistory = parser.isSet("no-history");
    if (command.NoHistory && command.Kind != TCliCommand::TKind::Interactive &&
        command.Kind != TCliCommand::TKind::Listen && command.Kind != TCliCommand::TKind::Echo) {
        return refuse(TCommandLine::tr("--no-history belongs to the interactive session, listen and echo"));
    }
    result.Command = command;
    return result;
}
