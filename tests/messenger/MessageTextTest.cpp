// Texts: the composed message bytes, the splitting rules, the header and mailslot path reading, and time
// stamps in the shapes regional settings ask for.
#include <gtest/gtest.h>

#include "messenger/MailslotPath.h"
#include "messenger/MessageText.h"
#include "messenger/TimeFormat.h"

namespace {

using namespace std::string_literals;
using namespace MessageText;

// The memo's bytes are pinned where the messenger sends one (MessengerTest), a command's here.
TEST(MessageText, ComposesTheWorkedExample) {
    TStringList online;
    AppendCommand(online, "14:05:09", "WS01", OnlineNotify);
    EXPECT_EQ(Join(online), "COMMAND_MSG\r\n14:05:09\r\nWS01\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
}

TEST(MessageText, SplitsByEveryLineBreakRule) {
    // clang-format off
    const std::tuple<const char*, std::string, TStringList> cases[] = {
        {"crlf", "a\r\nb\r\n", {"a", "b"}}, {"lone cr", "a\rb\r", {"a", "b"}},
        {"lone lf", "a\nb\n", {"a", "b"}}, {"lf cr gains an empty line", "a\n\rb", {"a", "", "b"}},
        {"cr cr is two breaks", "a\r\rb", {"a", "", "b"}}, {"empty datagram", "", {}},
        {"empty lines kept", "\r\n\r\nx\r\n", {"", "", "x"}},
        {"nul ends the text", "a\r\nb\0c\r\nd\r\n"s, {"a", "b"}}, {"leading nul", "\0abc"s, {}},
        {"bytes above 127 untouched", "\xff\xfe\r\n", {"\xff\xfe"}},
    };
    // clang-format on
    for (const auto& [name, bytes, lines] : cases)
        EXPECT_EQ(Split(bytes), lines) << name;
}

TEST(MessageText, ReadsTheHeaderOnlyFromFourLinesOnAndDropsTheLastLine) {
    const auto read = [](const TStringList& lines) {
        const auto h = ReadHeader(lines);
        std::string memo;
        for (const auto& line : h ? h->MsgLines : TStringList{})
            memo += "[" + line + "]";
        return h ? h->Kind + " " + h->Time + " " + h->Origin + " " + h->Text + " " + memo : "none";
    };
    const std::tuple<const char*, TStringList, const char*> cases[] = {
        {"three lines", {"MEMO_MSG", "t", "WS01"}, "none"},
        {"cut after line 4", {"MEMO_MSG", "t", "WS01", "BEGIN_MEMO"}, "MEMO_MSG t WS01 BEGIN_MEMO "},
        {"cut after line 5", {"MEMO_MSG", "t", "WS01", "BEGIN_MEMO", "x"}, "MEMO_MSG t WS01 BEGIN_MEMO "},
        {"keyword inside, delimiters unchecked",
         {"LINE_MSG", "t", "o", "NOT_BEGIN", "END_MESSAGE", "", "NOT_END"},
         "LINE_MSG t o NOT_BEGIN [END_MESSAGE][]"},
        // A NUL inside a memo line: the part before it becomes the last line and is skipped.
        {"nul in a memo", Split("MEMO_MSG\r\nt\r\nWS01\r\nB\r\none\r\ntw\0o\r\nEND_MESSAGE\r\n"s),
         "MEMO_MSG t WS01 B [one]"},
    };
    for (const auto& [name, lines, header] : cases)
        EXPECT_EQ(read(lines), header) << name;
}

TEST(MailslotPath, ParsesOnlyWellFormedPaths) {
    const auto path = TMailslotPath::Parse("\\\\WS01\\MailSlot\\MB303");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->Server + "|" + path->Box, "WS01|MB303");
    EXPECT_TRUE(TMailslotPath::Parse("\\\\*\\mailslot\\a\\b"));
    for (const char* bad :
         {"", "\\\\", "\\WS01\\mailslot\\x", "\\\\\\mailslot\\x", "\\\\WS01\\mailslot\\", "\\\\WS01\\pipe\\x",
          "\\\\WS01\\mailslotx", "\\\\WS01\\mailslot\\a\\\\b", "\\\\WS01\\mailslot\\a\\"})
        EXPECT_FALSE(TMailslotPath::Parse(bad)) << bad;
}

TEST(TimeFormat, WritesEveryRegionalShape) {
    // What, the strftime format, the one %r stands for, the AM and PM designators, the hour, what is shown.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, int, const char*>
        cases[] = {
            {"24h blank padded", "%k.%M.%S", "", "", "", 9, "9.05.07"},
            {"24h unpadded flag", "%-H:%M:%S", "", "", "", 0, "0:05:07"},
            {"12h via %r", "%r", "%I:%M:%S %p", "AM", "PM", 14, "02:05:07 PM"},
            {"midnight is 12 am", "%I:%M:%S %p", "", "AM", "PM", 0, "12:05:07 AM"},
            {"designator first", "%p %I:%M:%S", "", "\xec\x98\xa4\xec\xa0\x84", "PMX", 13, "PMX 01:05:07"},
            {"empty designators", "%I:%M:%S %p", "", "", "", 23, "11:05:07 pm"},
            {"trailing percent", "%H:%M:%", "", "", "", 9, "09:05:07"},
        };
    for (const auto& [name, format, ampm, am, pm, hour, shown] : cases)
        EXPECT_EQ(TTimeFormat::FromStrftime(format, ampm, am, pm).Format(hour, 5, 7), shown) << name;
}

}  // namespace
