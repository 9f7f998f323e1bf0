// The console client's argument rules, memo line splitting and output formats.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/EventFormatter.h"
#include "cli/HistoryFormatter.h"
#include "cli/InteractiveConsole.h"
#include "cli/LineSplitter.h"
#include "cli/MemoDraft.h"
#include "cli/MemoLimit.h"
#include "history/HistoryPath.h"
#include "history/HistoryStore.h"

namespace {

auto Fields(const TCliCommand& c) {
    return std::tie(c.Kind, c.BoxName, c.ConfigPath, c.Target, c.ToAll, c.Text, c.Json, c.WaitMs, c.Greeting,
                    c.AllowEmpty, c.NoHistory, c.From, c.SinceMs, c.Limit, c.Words);
}

std::int64_t LocalMs(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second)).toMSecsSinceEpoch();
}

// Each accepted row names only the fields that differ from a plain command.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

TEST(CliCommandLine, AcceptsEachCommandWithItsOptionsAndRefusesWhatCannotBeMeant) {
    using enum TCliCommand::TKind;
    const std::optional<TCliCommand> refused;
    const std::tuple<const char*, QStringList, std::optional<TCliCommand>> rows[] = {
        {"interactive", {}, TCliCommand{}},
        {"send to all",
         {"--box", "Other", "send", "--all", "Lunch?"},
         TCliCommand{.Kind = Send, .BoxName = "Other", .ToAll = true, .Text = {"Lunch?"}}},
        {"send without a target", {"send", "hi"}, refused},
        {"send with both targets", {"send", "--all", "--to", "WS02"}, refused},
        {"send to an empty name", {"send", "--to", "", "hi"}, refused},
        {"star as one computer", {"send", "--to", "*", "hi"}, refused},
        {"unknown command", {"shout"}, refused},
        {"unknown option", {"--loud"}, refused},
        {"stray argument", {"who", "extra"}, refused},
        {"--to outside send", {"listen", "--to", "WS02"}, refused},
        {"--all outside send", {"who", "--all"}, refused},
        {"--allow-empty outside send", {"listen", "--allow-empty"}, refused},
        {"wait not a number", {"who", "--wait", "soon"}, refused},
        {"negative wait", {"who", "--wait=-5"}, refused},
        {"backslash in box", {"--box", "a\\b"}, refused},
        {"empty box", {"--box", "", "listen"}, refused},
        {"history, every option",
         {"history", "--json", "--from", "ws01", "--since", "2026-12-24", "--limit", "5", "lunch", "today"},
         TCliCommand{.Kind = History,
                     .Json = true,
                     .From = "WS01",
                     .SinceMs = LocalMs(2026, 12, 24),
                     .Limit = 5,
                     .Words = {"lunch", "today"}}},
        {"history since a local time",
         {"history", "--since", "2026-12-24 14:30"},
         TCliCommand{.Kind = History, .SinceMs = LocalMs(2026, 12, 24, 14, 30)}},
        {"history since a time with its offset",
         {"history", "--since=2026-12-24T16:30:00+02:00"},
         TCliCommand{.Kind = History, .SinceMs = 1'798'122'600'000}},
        {"interactive keeping nothing", {"--no-history"}, TCliCommand{.NoHistory = true}},
        {"no limit", {"history", "--limit", "0"}, refused},
        {"limit not a number", {"history", "--limit", "many"}, refused},
        {"since not a date", {"history", "--since", "yesterday"}, refused},
        {"from no computer", {"history", "--from", ""}, refused},
        {"--from outside history", {"listen", "--from", "WS01"}, refused},
        {"--limit outside history", {"who", "--limit", "5"}, refused},
        {"--no-history where nothing is kept", {"send", "--all", "--no-history", "hi"}, refused},
        {"--no-history when reading it", {"history", "--no-history"}, refused},
    };
    for (const auto& [name, arguments, expected] : rows) {
        const auto result = ParseCommandLine(QStringList{"kestrin-cli"} + arguments);
        ASSERT_EQ(result.Command.has_value(), expected.has_value())
            << name << ": " << result.Error.toStdString();
        EXPECT_TRUE(expected ? Fields(*result.Command) == Fields(*expected) : !result.Error.isEmpty())
            << name;
    }
}

TEST(CliSendText, RefusesAnEmptyOrOverlongMemoFromStandardInputAndReadsNoFurtherThanTheLongest) {
    // The longest memo here is 10 bytes: typed text of 40 bytes may still fit, 41 cannot.
    const TCliCommand fromInput{.Kind = TCliCommand::TKind::Send, .ToAll = true};
    TCliCommand words = fromInput;
    words.Text = {"Lunch", "now?"};
    const std::tuple<const char*, TCliCommand, std::string, std::string, int> rows[] = {
        // name, command, standard input, the text taken, the exit code of a refusal
        {"the words, not the input", words, "ignored", "Lunch now?", ExitCode::Ok},
        {"blanks and line breaks", fromInput, " \t\r\n\n", "", ExitCode::BadArguments},
        {"as long as may fit", fromInput, std::string(40, 'a'), std::string(40, 'a'), ExitCode::Ok},
        {"one byte more", fromInput, std::string(41, 'a'), "", ExitCode::Failed},
        {"far more", fromInput, std::string(1'000'000, 'a'), "", ExitCode::Failed},
    };
    for (const auto& [name, command, input, taken, code] : rows) {
        std::istringstream stream(input);
        const TSendText text = ReadSendText(command, stream, 10);
        EXPECT_EQ(std::tie(text.Text, text.Code), std::tie(taken, code)) << name;
        EXPECT_EQ(text.Refusal.empty(), code == ExitCode::Ok) << name;
        // Never more than one byte past what may fit is read.
        const auto left = static_cast<std::size_t>(std::distance(std::istreambuf_iterator<char>(stream), {}));
        EXPECT_GE(left, command.Text.isEmpty() ? input.size() - std::min<std::size_t>(input.size(), 41)
                                               : input.size())
            << name;
    }
}

// Typed text, pieces read from a pipe and a memo being typed: each split into memo lines, and a line or memo
// longer than any memo cut or refused.
TEST(CliMemoLines, SplitsTextIntoMemoLinesAndCutsALineOrMemoLongerThanAnyMemo) {
    EXPECT_EQ(MemoLines(""), TStringList{});
    EXPECT_EQ(MemoLines("one\n"), TStringList{"one"});
    EXPECT_EQ(MemoLines("one\r\n\r\nthree"), (TStringList{"one", "", "three"}));
    EXPECT_EQ(MemoLines("\n"), TStringList{""});
    TLineSplitter lines(4);
    EXPECT_EQ(lines.Feed("one\r\ntw"), std::vector<std::string>{"one"});
    EXPECT_EQ(lines.Feed("o\n\n"), (std::vector<std::string>{"two", ""}));
    EXPECT_EQ(lines.Feed("abcdefgh"), std::vector<std::string>{});
    EXPECT_EQ(lines.Feed(std::string(100'000, 'i') + "\nlast"), std::vector<std::string>{"abcde"});
    EXPECT_EQ(lines.Finish(), "last");
    EXPECT_EQ(lines.Finish(), std::nullopt);
    TMemoDraft draft(12);  // each line counts with its CR LF
    EXPECT_TRUE(draft.Add("abc") && draft.Add("def"));
    EXPECT_FALSE(draft.Add("gh"));  // 14 bytes
    EXPECT_FALSE(draft.Add(""));    // would fit, but the memo lacks a line already
    EXPECT_EQ(std::tuple(draft.Lines(), draft.Overfull(), draft.Empty()),
              std::tuple(TStringList{"abc", "def"}, true, false));
    draft.Clear();
    EXPECT_TRUE(draft.Add("12345678") && draft.Empty() == false && !draft.Overfull());
}

// A screen that keeps what the session shows; whether someone types there is up to the test.
class TRecordedScreen final : public TConsoleScreen {
public:
    bool Typed() const override { return Person; }
    void SetPrompt(const std::string& prompt) override { Prompt = prompt; }
    void Show(const std::string& text) override {
        Shown += text;
        if (OnShow) {
            OnShow();
        }
    }
    void ShowError(const std::string& text) override { Shown += "!" + text; }

    bool Person = true;
    std::string Prompt, Shown;
    std::function<void()> OnShow;
};

TEST(CliInteractiveConsole, ShowsAnArrivalOnlyOnceTheHistoryFileHoldsIt) {
    int argc = 1;
    char program[] = "CliTest";
    char* argv[] = {program};
    QCoreApplication app(argc, argv);
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    TCliCommand command;
    command.ConfigPath = data.filePath("none.conf");
    TCliSession session(command, &app);
    TRecordedScreen screen;
    TInteractiveConsole console(session, screen);
    // Read as another process reads it, through a connection of its own: the newest two at each showing.
    THistoryStore file(DefaultHistoryPath());
    std::vector<std::string> keptWhenShown;
    screen.OnShow = [&] {
        for (const THistoryEntry& entry : file.Recent(2).Entries) {
            keptWhenShown.push_back(entry.Text);
        }
    };
    screen.Shown.clear();
    TMessenger& messenger = session.Messenger();
    messenger.OnNewMemo(messenger, "ANNA-PC", "14:06:30", {"Lunch?"});
    messenger.OnNewLine(messenger, "BORIS-PC", "14:07:00", "ok");
    EXPECT_EQ(screen.Shown, "");
    QCoreApplication::processEvents();
    EXPECT_EQ(screen.Shown,
              "memo from ANNA-PC at 14:06:30:\n  | Lunch?\nline from BORIS-PC at 14:07:00: ok\n");
    EXPECT_EQ(keptWhenShown, (std::vector<std::string>{"ok", "Lunch?", "ok", "Lunch?"}));
}

TEST(CliInteractiveConsole, ShowsWhereMemosGoAndAsksBeforeAnUnsentMemoIsLost) {
    TCliCommand command;
    command.ConfigPath = QString::fromStdString(testing::TempDir() + "kestrin-cli-none.conf");
    command.NoHistory = true;  // the user's own history stays untouched
    TCliSession session(command, nullptr);
    TRecordedScreen screen;
    TInteractiveConsole console(session, screen);
    int quits = 0;
    QObject::connect(&console, &TInteractiveConsole::QuitRequested, [&quits] { ++quits; });
    session.Messenger().OnUserChange(session.Messenger(), "ANNA-PC", TUserChange::Joined);
    EXPECT_NE(screen.Shown.find("to every computer until /to NAME"), std::string::npos) << screen.Shown;
    const std::string own = session.Messenger().Computer();
    const std::tuple<std::string, std::string, std::string> rows[] = {
        // typed, shown, prompt
        {"/to anna-pc", "sending to anna-pc\n", "to anna-pc> "},
        {"/to CAROL-PC", "sending to CAROL-PC (no computer lists itself under that name now)\n",
         "to CAROL-PC> "},
        {"/to " + own, "sending to " + own + "\n", "to " + own + "> "},
        {"/all", "sending to every computer\n", "to every computer> "},
        {"unsent", "", "to every computer> "},
        {"/quit", "", "The memo of 1 line is not sent. Quit anyway? [y/N] "},
        {"n", "the memo is kept\n", "to every computer> "},
    };
    for (const auto& [typed, shown, prompt] : rows) {
        screen.Shown.clear();
        console.HandleLine(typed);
        EXPECT_EQ(std::tuple(screen.Shown, screen.Prompt, quits), std::tuple(shown, prompt, 0)) << typed;
    }
    // A second Ctrl+D answers the question; from a pipe nobody is asked. Either way the loss is said.
    console.HandleEnd();
    EXPECT_EQ(quits, 0);
    console.HandleEnd();
    const std::string lost = "!kestrin-cli: discarded an unsent memo of 1 line\n";
    EXPECT_EQ(std::tuple(screen.Shown, quits), std::tuple("the memo is kept\n" + lost, 1));
    TRecordedScreen pipe;
    pipe.Person = false;
    TInteractiveConsole piped(session, pipe);
    piped.HandleLine("unsent");
    piped.HandleEnd();
    EXPECT_TRUE(pipe.Shown.ends_with("/help lists the commands.\n" + lost)) << pipe.Shown;
}

TEST(CliEventFormatter, WritesTextAndJsonWithoutLosingBytesAndShowsControlsInsteadOfPassingThemOn) {
    const std::string hostile =
        "a\x1b[2J\x1b]0;t\x07\x1b]52;c;eA==\x07\rb\xc2\x9b"
        "c\xe2\x80\xae"
        "d\x7f\te";
    const TEventFormatter text(false), json(true);
    EXPECT_EQ(text.Memo("WS01", "14:06:30", {"Lunch?", ""}),
              "memo from WS01 at 14:06:30:\n  | Lunch?\n  | \n");
    EXPECT_EQ(text.Users({"WS02",
                          "A\x1b"
                          "B"}),
              "computers: WS02, A^[B\n");
    EXPECT_EQ(text.Change("WS02", TUserChange::Joined) + text.Change("W\x1b", TUserChange::Left),
              "listed: WS02\ngone: W^[\n");
    EXPECT_EQ(text.Line("W\x1bS", "1\r2", hostile),
              "line from W^[S at 1^M2: a^[[2J^[]0;t^G^[]52;c;eA==^G^Mb<U+009B>c<U+202E>d^?\te\n");
    EXPECT_EQ(json.Change("WS02", TUserChange::Left), "{\"computer\":\"WS02\",\"event\":\"left\"}\n");
    EXPECT_EQ(
        json.Line("WS02", "2:07:12 pm", "say \"hi\""),
        "{\"event\":\"line\",\"line\":\"say \\\"hi\\\"\",\"origin\":\"WS02\",\"time\":\"2:07:12 pm\"}\n");
    // UTF-8 stays UTF-8; a lone Latin-1 byte is read as Latin-1 rather than replaced.
    EXPECT_EQ(json.Memo("WS01", "t", {"caf\xc3\xa9", "caf\xe9"}),
              "{\"event\":\"memo\",\"lines\":[\"caf\xc3\xa9\",\"caf\xc3\xa9\"],\"origin\":\"WS01\",\"time\":"
              "\"t\"}\n");
    EXPECT_EQ(json.Line("W\x1bS", "1\r2", hostile),
              "{\"event\":\"line\",\"line\":\"a\\u001b[2J\\u001b]0;t\\u0007\\u001b]52;c;eA=="
              "\\u0007\\rb\\u009bc\xe2\x80\xae"
              "d\\u007f\\te\",\"origin\":\"W\\u001bS\",\"time\":\"1\\r2\"}\n");
}

TEST(CliHistoryFormatter, PrintsEachKeptMemoAsTextOrJsonAndNeverAControl) {
    // The file may have been written by anything: what it holds is made visible again.
    const THistoryEntry received{.Id = 7,
                                 .ReceivedMs = LocalMs(2026, 12, 24, 14, 6, 31),
                                 .SenderTime = "14:06:30",
                                 .Computer = "WS01",
                                 .Text = "Lunch?\n\x1b[2Jat \xc2\x9bone"};
    THistoryEntry toAll = received, line = received;
    toAll.Direction = THistoryDirection::Sent;
    toAll.Computer = "*";
    toAll.SenderTime.clear();
    toAll.Text = "Done.";
    line.Kind = THistoryKind::Line;
    line.Text = "ok\rfine";
    const THistoryFormatter text(false), json(true);
    EXPECT_EQ(text.Entry(received),
              "2026-12-24 14:06:31  memo from WS01 at 14:06:30:\n  | Lunch?\n  | ^[[2Jat <U+009B>one\n");
    EXPECT_EQ(text.Entry(toAll), "2026-12-24 14:06:31  memo to every computer:\n  | Done.\n");
    EXPECT_EQ(text.Entry(line), "2026-12-24 14:06:31  line from WS01 at 14:06:30: ok^Mfine\n");
    // A sent memo's fields in JSON EndToEnd reads.
    THistoryEntry utc = received;
    utc.ReceivedMs = 1'798'122'600'123;
    EXPECT_EQ(json.Entry(utc),
              "{\"computer\":\"WS01\",\"direction\":\"received\",\"id\":7,\"kind\":\"memo\",\"received\":"
              "\"2026-12-24T14:30:00.123Z\",\"text\":\"Lunch?\\n\\u001b[2Jat "
              "\\u009bone\",\"time\":\"14:06:30\"}\n");
}

}  // namespace
