// The desktop program's command line, read before any display is opened.
#include "app/DesktopCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// Translated when it is printed, in the language installed by then.
const char* const UsageText = QT_TRANSLATE_NOOP(
    "TDesktopCommandLine",
    "Usage: kestrin [Qt options]\n"
    "Chat with the computers of the local network, without a server.\n"
    "\n"
    "  -h, --help     shows this text and exits\n"
    "  -v, --version  shows the version and exits\n"
    "  --minimized    starts in the tray only where there is one, else minimised (for the start at logon)\n"
    "\n"
    "The options every Qt program takes, such as -platform NAME, -display DISPLAY and -style NAME, apply.\n"
    "kestrin-cli is the console client; its --help says more.\n");

// What QGuiApplication, QApplication and their platform plugins read from the command line; they take
// them out of argv themselves. Those with a value, then the plain switches.
const char* const QtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "style", "stylesheet", "display", "session", "name",
    "font", "fn", "background", "bg", "foreground", "fg", "button", "btn", "visual", "ncols", "im",
    "dialogs", "fontengine", "qmljsdebugger"};
const char* const QtSwitches[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "cmap", "testability"};

}  // namespace

TDesktopCommand ParseDesktopCommandLine(const QStringList& arguments) {
    using TAction = TDesktopCommand::TAction;
    const QString usage = QCoreApplication::translate("TDesktopCommandLine", UsageText);
    QCommandLineParser parser;
    // Qt's own options are written with one dash: "-platform offscreen".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const QCommandLineOption minimized(QStringLiteral("minimized"));
    parser.addOptions({help, version, minimized});
    for (const char* name : QtOptionsWithValue) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("value")));
    }
    for (const char* name : QtSwitches) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
    }
    if (!parser.parse(arguments)) {
        return {TAction::Refused, "kestrin: " + parser.errorText() + "\n\n" + usage, 2};
    }
    if (!parser.positionalArguments().isEmpty()) {
        const QString unexpected =
            QCoreApplication::translate("TDesktopCommandLine", "unexpected argument '%1'");
        return {TAction::Refused,
                "kestrin: " + unexpected.arg(parser.positionalArguments().first()) + "\n\n" + usage, 2};
    }
    if (parser.isSet(help)) {
        return {TAction::Help, usage, 0};
    }
    if (parser.isSet(version)) {
        return {TAction::Version, QStringLiteral("kestrin " KESTRIN_VERSION "\n"), 0};
    }
    TDesktopCommand run;
    run.Minimized = parser.isSet(minimized);
    return run;
}
