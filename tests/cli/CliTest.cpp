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

TEST(CliCommandLine, AcceptsEachCommandWithItsOptions) {
    const auto interactive = Parse({});
    ASSERT_TRUE(interactive.Command);
    EXPECT_EQ(interactive.Command->Kind, TCliCommand::TKind::Interactive);
    EXPECT_EQ(interactive.Command->BoxName, "MB303");

    const auto send = Parse({"send", "--to", "WS02", "Lunch", "at", "one?"});
    ASSERT_TRUE(send.Command) << send.Error.toStdString();
    EXPECT_EQ(send.Command->Kind, TCliCommand::TKind::Send);
    EXPECT_EQ(send.Command->Target, "WS02");
    EXPECT_EQ(send.Command->Text, (QStringList{"Lunch", "at", "one?"}));

    const auto all = Parse({"--box", "Other", "send", "--all"});
    ASSERT_TRUE(all.Command);
    EXPECT_TRUE(all.Command->ToAll);
    EXPECT_TRUE(all.Command->Text.isEmpty());
    EXPECT_EQ(all.Command->BoxName, "Other");

    const auto listen = Parse({"listen", "--json"});
    ASSERT_TRUE(listen.Command);
    EXPECT_TRUE(listen.Command->Json);

    const auto who = Parse({"who", "--wait", "250"});
    ASSERT_TRUE(who.Command);
    EXPECT_EQ(who.Command->WaitMs, 250);

    EXPECT_FALSE(Parse({"--help"}).Output.isEmpty());
}

TEST(CliCommandLine, RefusesWhatCannotBeMeant) {
    const struct {
        const char* Name;
        QStringList Arguments;
    } cases[] = {
        {"send without a target", {"send", "hi"}},
        {"send with both targets", {"send", "--all", "--to", "WS02"}},
        {"star as one computer", {"send", "--to", "*", "hi"}},
        {"unknown command", {"shout"}},
        {"target outside send", {"listen", "--to", "WS02"}},
        {"stray argument", {"who", "extra"}},
        {"bad wait", {"who", "--wait", "soon"}},
        {"backslash in box", {"--box", "a\\b"}},
        {"unknown option", {"--loud"}},
    };
    for (const auto& c : cases) {
        const auto result = Parse(c.Arguments);
        EXPECT_FALSE(result.Command) << c.Name;
        EXPECT_FALSE(result.Error.isEmpty()) << c.Name;
    }
}

TEST(CliMemoLines, SplitsTypedTextIntoMemoLines) {
    EXPECT_EQ(MemoLines(""), TStringList{});
    EXPECT_EQ(MemoLines("one"), TStringList{"one"});
    EXPECT_EQ(MemoLines("one\n"), TStringList{"one"});
    EXPECT_EQ(MemoLines("one\r\n\r\nthree\n"), (TStringList{"one", "", "three"}));
    EXPECT_EQ(MemoLines("\n"), TStringList{""});
}

TEST(CliEventFormatter, WritesTextAndJsonWithoutLosingBytes) {
    const TEventFormatter text(false);
    EXPECT_EQ(text.Memo("WS01", "14:06:30", {"Lunch?", ""}), "memo from WS01 at 14:06:30:\n  | Lunch?\n  | \n");
    EXPECT_EQ(text.Users({}), "computers: (none)\n");
    EXPECT_EQ(text.Users({"WS02", "WS03"}), "computers: WS02, WS03\n");

    const TEventFormatter json(true);
    EXPECT_EQ(json.Line("WS02", "2:07:12 pm", "say \"hi\""),
              "{\"event\":\"line\",\"line\":\"say \\\"hi\\\"\",\"origin\":\"WS02\",\"time\":\"2:07:12 pm\"}\n");
    // UTF-8 stays UTF-8; a lone Latin-1 byte is read as Latin-1 rather than replaced.
    EXPECT_EQ(json.Memo("WS01", "t", {"caf\xc3\xa9", "caf\xe9"}),
              "{\"event\":\"memo\",\"lines\":[\"caf\xc3\xa9\",\"caf\xc3\xa9\"],\"origin\":\"WS01\",\"time\":\"t\"}\n");
}

}  // namespace
