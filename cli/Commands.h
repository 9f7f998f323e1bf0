// The console client's commands; each returns the process exit code.
#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <cstddef>
#include <istream>
#include <string>

#include "cli/CliSession.h"
#include "cli/CommandLine.h"

namespace ExitCode {
inline constexpr int Ok = 0;
inline constexpr int Failed = 1;
inline constexpr int BadArguments = 2;
}  // namespace ExitCode

/// Says on standard error what was wrong in the settings file (each value fell back to its default).
void ReportSettingsProblems(const QStringList& problems);
/// Opens the own mailbox and announces this computer; when it cannot, says why on standard error.
bool ActivateOrReport(TCliSession& session);
/// The same for a copy that stays: then asks once whether another computer answers to this one's name,
/// and if so says so on standard error, and goes on.
bool ActivateAndCheckName(TCliSession& session);

/// The memo text `send` takes: its words, or else standard input, read no further than a memo can be
/// long. When Refusal is set, nothing is to be sent: it is said on standard error, and Code is the exit code.
struct TSendText {
    std::string Text;
    std::string Refusal;
    int Code = ExitCode::Ok;
};
TSendText ReadSendText(const TCliCommand& command, std::istream& input, std::size_t longestMemo);

int RunSend(TCliSession& session, const TCliCommand& command);
int RunListen(TCliSession& session, const TCliCommand& command, QCoreApplication& app);
int RunWho(TCliSession& session, const TCliCommand& command, QCoreApplication& app);
int RunEcho(TCliSession& session, const TCliCommand& command, QCoreApplication& app);
/// history (HistoryCommand.cpp): reads the file only, so it needs no session and opens no network.
int RunHistory(const TCliCommand& command);
/// The interactive session (InteractiveConsole.cpp).
int RunInteractive(TCliSession& session, const TCliCommand& command, QCoreApplication& app);

/// Splits text into memo lines: LF or CR LF ends a line, and a final break adds no empty line.
TStringList MemoLines(const std::string& text);
/// Typed text (the terminal's UTF-8, or a file in the code page) as lines in the office's code page.
TStringList TypedLines(const std::string& typed, const TWireText& text);
