// The console client's argument rules, memo line splitting and output formats.
#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/EventFormatter.h"
#include "cli/FirewallRules.h"

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

TEST(CliEventFormatter, ShowsControlsFromTheNetworkInsteadOfPassingThemToTheTerminal) {
    // Clear the screen, retitle the window, write the clipboard, go back to the line's start, a C1 CSI, a
    // direction override, DEL; TAB stays.
    const std::string hostile =
        "a\x1b[2J\x1b]0;t\x07\x1b]52;c;eA==\x07\rb\xc2\x9b"
        "c\xe2\x80\xae"
        "d\x7f\te";
    const TEventFormatter text(false), json(true);
    EXPECT_EQ(text.Line("W\x1bS", "1\r2", hostile),
              "line from W^[S at 1^M2: a^[[2J^[]0;t^G^[]52;c;eA==^G^Mb<U+009B>c<U+202E>d^?\te\n");
    EXPECT_EQ(text.Users({"A\x1b"
                          "B"}),
              "computers: A^[B\n");
    const std::string line = json.Line("WS02", "t", hostile);
    EXPECT_EQ(line.find_first_of("\x1b\x07\r\x7f"), std::string::npos) << line;
    EXPECT_EQ(line.find("\xc2\x9b"), std::string::npos) << line;
    EXPECT_NE(line.find("a\\u001b[2J"), std::string::npos) << line;
    EXPECT_NE(line.find("b\\u009bc"), std::string::npos) << line;
}

TEST(CliDoctor, FindsTheFirewallRulesThatDropTheNetbiosPorts) {
    const std::pair<const char*, bool> rules[] = {
        {"udp dport 138 drop", true},
        {"udp dport { 137, 138 } reject", true},
        {"udp dport 130-140 counter drop", true},
        {"meta l4proto udp drop", true},
        {"-A INPUT -p udp -m udp --dport 138 -j DROP", true},
        {"-A INPUT -p udp -m multiport --dports 137,138 -j REJECT --reject-with icmp-port-unreachable", true},
        {"-A INPUT -p udp --dport 137:139 -j DROP", true},
        {"type filter hook input priority filter; policy drop;", true},
        {":INPUT DROP [0:0]", true},
        {"udp dport 53 drop", false},
        {"udp dport 1138 drop", false},
        {"tcp dport 138 drop", false},
        {"udp sport 138 drop", false},
        {"udp dport 138 accept", false},
        {":INPUT ACCEPT [0:0]", false}};
    for (const auto& [rule, drops] : rules)
        EXPECT_EQ(RulesDroppingUdp(QString("table inet f {\n") + rule + "\n}\n", {137, 138}),
                  drops ? QStringList{rule} : QStringList{})
            << rule;
}

}  // namespace
