// history: what this computer received and sent, read from the file the running copies write.
#include <filesystem>
#include <system_error>

#include "cli/Commands.h"
#include "cli/HistoryFormatter.h"
#include "cli/Output.h"
#include "history/HistoryPath.h"
#include "history/HistoryStore.h"
#include "qtcore/HistorySettings.h"

namespace {

// What the user reads, in the translation context "THistoryCommand".
struct THistoryCommand {
    Q_DECLARE_TR_FUNCTIONS(THistoryCommand)
};

int Unreadable(const std::string& why) {
    PrintError("kestrin-cli: " +
               THistoryCommand::tr("the history cannot be read: %1").arg(QString::fromStdString(why)).toStdString() +
               "\n");
    return ExitCode::Failed;
}

}  // namespace

int RunHistory(const TCliCommand& command) {
    const THistorySettings settings = ReadHistorySettings(command.ConfigPath);
    ReportSettingsProblems(settings.Problems);
    // The file is the user's whether or not memos are being added to it now.
    if (!settings.Enabled) {
        PrintError("kestrin-cli: " +
                   THistoryCommand::tr(
                       "history recording is off ([History] Enabled=0); showing what was kept before")
                       .toStdString() +
                   "\n");
    }
    const std::filesystem::path path = DefaultHistoryPath();
    // Reading must not leave an empty history behind where there was none.
    if (std::error_code fault; !std::filesystem::exists(path, fault)) {
        if (!command.Json) {
            Print(THistoryCommand::tr("no history yet").toStdString() + "\n");
        }
        return ExitCode::Ok;
    }
    // Only read: a damaged file is the running copy's to set aside, and one the user may only read is shown.
    THistoryStore store(path, THistoryAccess::Read);
    const THistoryOpenResult& opened = store.Opened();
    if (opened.State == THistoryOpenState::Failed) {
        return Unreadable(opened.Error);
    }

    THistoryFilter filter;
    if (!command.From.isEmpty()) {
        filter.Computer = command.From.toStdString();
    }
    filter.SinceMs = command.SinceMs;
    const THistoryRows rows =
        command.Words.isEmpty() ? store.Recent(command.Limit, 0, filter)
                                : store.Search(command.Words.join(' ').toStdString(), command.Limit, filter);
    if (!rows.Ok()) {
        return Unreadable(rows.Error);
    }
    const THistoryFormatter format(command.Json);
    std::string text;
    for (const THistoryEntry& entry : rows.Entries) {
        text += format.Entry(entry);
    }
    if (rows.Entries.empty() && !command.Json) {
        text = THistoryCommand::tr("no memo found").toStdString() + "\n";
    }
    Print(text);
    return ExitCode::Ok;
}
