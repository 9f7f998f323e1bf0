// The console client's argument rules, memo line splitting and output formats.
#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/EventFormatter.h"

namespace {

auto Fields(const TCliCommand& c) {
    return std::tie(c.Kind, c.BoxName, c.ConfigPath, c.Target, c.ToAll, c.Text, c.Json, c.WaitMs, c.Greeting);
}

// Each accepted row names only the fields that differ from a plain command.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

TEST(CliCommandLine, AcceptsEachCommandWithItsOptionsAndRefusesWhatCannotBeMeant) {
    using enum TCliCommand::TKind;
    const std::optional<TCliCommand> refused;
    const std::tuple<const char*, QStringList, std::optional<TCliCommand>> rows[] = {
        {"interactive", {}, TCliCommand{}},
        {"send to one",
         {"send", "--to", "WS02", "Lunch", "at", "one?"},
         TCliCommand{.Kind = Send, .Target = "WS02", .Text = {"Lunch", "at", "one?"}}},
        {"send to all",
         {"--box", "Other", "send", "--all"},
         TCliCommand{.Kind = Send, .BoxName = "Other", .ToAll = true}},
        {"send without a target", {"send", "hi"}, refused},
        {"send with both targets", {"send", "--all", "--to", "WS02"}, refused},
        {"send to an empty name", {"send", "--to", "", "hi"}, refused},
        {"star as one computer", {"send", "--to", "*", "hi"}, refused},
        {"unknown command", {"shout"}, refused},
        {"unknown option", {"--loud"}, refused},
        {"stray argument", {"who", "extra"}, refused},
        {"--to outside send", {"listen", "--to", "WS02"}, refused},
        {"--all outside send", {"who", "--all"}, refused},
        {"wait not a number", {"who", "--wait", "soon"}, refused},
        {"negative wait", {"who", "--wait=-5"}, refused},
        {"backslash in box", {"--box", "a\\b"}, refused},
        {"empty box", {"--box", "", "listen"}, refused},
    };
    for (const auto& [name, arguments, expected] : rows) {
        const auto result = ParseCommandLine(QStringList{"kestrin-cli"} + arguments);
        ASSERT_EQ(result.Command.has_value(), expected.has_value())
            << name << ": " << result.Error.toStdString();
        EXPECT_TRUE(expected ? Fields(*result.Command) == Fields(*expected) : !result.Error.isEmpty())
            << name;
    }
}

TEST(CliMemoLines, SplitsTypedTextIntoMemoLines) {
    EXPECT_EQ(MemoLines(""), TStringList{});
    EXPECT_EQ(MemoLines("one\n"), TStringList{"one"});
    EXPECT_EQ(MemoLines("one\r\n\r\nthree"), (TStringList{"one", "", "three"}));
    EXPECT_EQ(MemoLines("\n"), TStringList{""});
}

TEST(CliEventFormatter, WritesTextAndJsonWithoutLosingBytes) {
    const TEventFormatter text(false);
    EXPECT_EQ(text.Memo("WS01", "14:06:30", {"Lunch?", ""}),
              "memo from WS01 at 14:06:30:\n  | Lunch?\n  | \n");
    EXPECT_EQ(text.Users({"WS02", "WS03"}), "computers: WS02, WS03\n");
    const TEventFormatter json(true);
    EXPECT_EQ(
        json.Line("WS02", "2:07:12 pm", "say \"hi\""),
        "{\"event\":\"line\",\"line\":\"say \\\"hi\\\"\",\"origin\":\"WS02\",\"time\":\"2:07:12 pm\"}\n");
    // UTF-8 stays UTF-8; a lone Latin-1 byte is read as Latin-1 rather than replaced.
    EXPECT_EQ(json.Memo("WS01", "t", {"caf\xc3\xa9", "caf\xe9"}),
              "{\"event\":\"memo\",\"lines\":[\"caf\xc3\xa9\",\"caf\xc3\xa9\"],\"origin\":\"WS01\",\"time\":"
              "\"t\"}\n");
}

}  // namespace
