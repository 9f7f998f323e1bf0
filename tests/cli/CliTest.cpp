// The console client's argument rules, memo line splitting and output formats.
#include <gtest/gtest.h>

#include "CommandLine.h"
#include "Commands.h"
#include "EventFormatter.h"

namespace {

TCommandLineResult Parse(QStringList arguments) {
    arguments.prepend("kestrin-cli");
    return ParseCommandLine(arguments);
}

auto Fields(const TCliCommand& c) {
    return std::tie(c.Kind, c.BoxName, c.ConfigPath, c.Target, c.ToAll, c.Text, c.Json, c.WaitMs, c.Greeting);
}

// Each row names only the fields that differ from a plain command.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

TEST(CliCommandLine, AcceptsEachCommandWithItsOptions) {
    using enum TCliCommand::TKind;
    const struct {
        QStringList Arguments;
        TCliCommand Command;
    } rows[] = {
        {{}, {}},
        {{"send", "--to", "WS02", "Lunch", "at", "one?"},
         {.Kind = Send, .Target = "WS02", .Text = {"Lunch", "at", "one?"}}},
        {{"--box", "Other", "send", "--all"}, {.Kind = Send, .BoxName = "Other", .ToAll = true}},
        {{"listen", "--json"}, {.Kind = Listen, .Json = true}},
        {{"who", "--wait", "250"}, {.Kind = Who, .WaitMs = 250}},
    };
    for (const auto& row : rows) {
        const auto result = Parse(row.Arguments);
        ASSERT_TRUE(result.Command) << result.Error.toStdString();
        EXPECT_TRUE(Fields(*result.Command) == Fields(row.Command)) << row.Arguments.join(' ').toStdString();
    }
    EXPECT_FALSE(Parse({"--help"}).Output.isEmpty());
}

TEST(CliCommandLine, RefusesWhatCannotBeMeant) {
    const std::pair<const char*, QStringList> rows[] = {
        {"send without a target", {"send", "hi"}},
        {"send with both targets", {"send", "--all", "--to", "WS02"}},
        {"send to an empty name", {"send", "--to", "", "hi"}},
        {"star as one computer", {"send", "--to", "*", "hi"}},
        {"unknown command", {"shout"}},
        {"unknown option", {"--loud"}},
        {"stray argument", {"who", "extra"}},
        {"--to outside send", {"listen", "--to", "WS02"}},
        {"--all outside send", {"who", "--all"}},
        {"wait not a number", {"who", "--wait", "soon"}},
        {"negative wait", {"who", "--wait=-5"}},
        {"backslash in box", {"--box", "a\\b"}},
        {"empty box", {"--box", "", "listen"}},
    };
    for (const auto& [name, arguments] : rows) {
        const auto result = Parse(arguments);
        EXPECT_FALSE(result.Command) << name;
        EXPECT_FALSE(result.Error.isEmpty()) << name;
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
    EXPECT_EQ(text.Users({}), "computers: (none)\n");
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
