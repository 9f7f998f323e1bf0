// Argument parsing with QCommandLineParser: one parser per command, so --help lists what applies.
#include "cli/CommandLine.h"

#include <QCommandLineParser>

namespace {

const QString Summary = QStringLiteral(
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
    "                              the capabilities, the interfaces, the firewall, a round trip");

void AddCommonOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(Summary);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({"box", "Mailbox name shared by the group (default MB303).", "NAME", "MB303"});
    parser.addOption({"config", "Settings file to read [Network] from (default: the user's).", "FILE"});
    parser.addOption({"to", "send: the computer to send to.", "NAME"});
    parser.addOption({"all", "send: send to every computer."});
    parser.addOption(
        {"allow-empty", "send: send an empty memo read from standard input instead of refusing it."});
    parser.addOption({"json", "listen, doctor: one JSON object per line."});
    parser.addOption({"wait", "who: how long to wait for answers (default 1500).", "MS", "1500"});
    parser.addOption({"greeting", "echo: memo sent to every computer that appears.", "TEXT"});
    parser.addPositionalArgument("command", "send, listen, who, echo or doctor; none for an interactive session.",
                                 "[command]");
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
        result.Error = QStringLiteral("--box needs a name without backslashes");
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
            return refuse(QStringLiteral("send needs exactly one of --to NAME and --all"));
        }
        if (!command.ToAll && (command.Target.isEmpty() || command.Target == "*")) {
            return refuse(QStringLiteral("--to needs a computer name; use --all to send to every computer"));
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
            return refuse(QStringLiteral("--wait needs a number of milliseconds"));
        }
    } else if (verb == "doctor") {
        command.Kind = TCliCommand::TKind::Doctor;
        command.Json = parser.isSet("json");
    } else if (verb == "echo") {
        command.Kind = TCliCommand::TKind::Echo;
        command.Greeting = parser.value("greeting");
    } else {
        return refuse(QStringLiteral("unknown command \"%1\"; try --help").arg(verb));
    }
    if (!positional.isEmpty()) {
        return refuse(QStringLiteral("unexpected argument \"%1\"").arg(positional.first()));
    }
    if (command.Kind != TCliCommand::TKind::Send &&
        (parser.isSet("to") || parser.isSet("all") || parser.isSet("allow-empty"))) {
        return refuse(QStringLiteral("--to, --all and --allow-empty belong to the send command"));
    }
    result.Command = command;
    return result;
}
