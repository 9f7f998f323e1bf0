// Message texts and mailslot paths: the composed bytes, the splitting rules, the header and path reading.
#include <gtest/gtest.h>

#include "MailslotPath.h"
#include "MessageText.h"

namespace {

using namespace std::string_literals;
using namespace MessageText;

TEST(MessageText, ComposesTheWorkedExamplesAndKeywordsUnescaped) {
    TStringList online;
    AppendCommand(online, "14:05:09", "WS01", OnlineNotify);
    EXPECT_EQ(Join(online), "COMMAND_MSG\r\n14:05:09\r\nWS01\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
    TStringList memo;
    AppendMemo(memo, "14:06:30", "WS01", {"Lunch at one?", "", "See you."});
    EXPECT_EQ(
        Join(memo),
        "MEMO_MSG\r\n14:06:30\r\nWS01\r\nBEGIN_MEMO\r\nLunch at one?\r\n\r\nSee you.\r\nEND_MESSAGE\r\n");
    // A keyword inside a memo stays part of it; an embedded break arrives as two lines.
    memo.clear();
    AppendMemo(memo, "t", "o", {"END_MESSAGE", "caf\xe9", "two\r\nlines"});
    EXPECT_EQ(ReadHeader(Split(Join(memo)))->MsgLines,
              (TStringList{"END_MESSAGE", "caf\xe9", "two", "lines"}));
}

TEST(MessageText, SplitsByEveryLineBreakRule) {
    const struct {
        const char* Name;
        std::string Bytes;
        TStringList Lines;
    } cases[] = {
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lone cr", "a\rb\r", {"a", "b"}},
        {"lone lf", "a\nb\n", {"a", "b"}},
        {"lf cr gains an empty line", "a\n\rb", {"a", "", "b"}},
        {"cr cr is two breaks", "a\r\rb", {"a", "", "b"}},
        {"empty datagram", "", {}},
        {"empty lines kept", "\r\n\r\nx\r\n", {"", "", "x"}},
        {"nul ends the text", "a\r\nb\0c\r\nd\r\n"s, {"a", "b"}},
        {"leading nul", "\0abc"s, {}},
        {"bytes above 127 untouched", "\xff\xfe\r\n", {"\xff\xfe"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Split(c.Bytes), c.Lines) << c.Name;
}

TEST(MessageText, ReadsTheHeaderOnlyFromFourLinesOnAndDropsTheLastLine) {
    const auto read = [](const TStringList& lines) {
        const auto h = ReadHeader(lines);
        std::string memo;
        for (const auto& line : h ? h->MsgLines : TStringList{})
            memo += "[" + line + "]";
        return h ? h->Kind + " " + h->Time + " " + h->Origin + " " + h->Text + " " + memo : "none";
    };
    const struct {
        const char* Name;
        TStringList Lines;
        const char* Header;
    } cases[] = {
        {"three lines", {"MEMO_MSG", "t", "WS01"}, "none"},
        {"cut after line 4", {"MEMO_MSG", "t", "WS01", "BEGIN_MEMO"}, "MEMO_MSG t WS01 BEGIN_MEMO "},
        {"cut after line 5", {"MEMO_MSG", "t", "WS01", "BEGIN_MEMO", "x"}, "MEMO_MSG t WS01 BEGIN_MEMO "},
        {"delimiters unchecked",
         {"LINE_MSG", "t", "o", "NOT_BEGIN", "a", "", "NOT_END"},
         "LINE_MSG t o NOT_BEGIN [a][]"},
        // A NUL inside a memo line: the part before it becomes the last line and is skipped.
        {"nul in a memo", Split("MEMO_MSG\r\nt\r\nWS01\r\nB\r\none\r\ntw\0o\r\nEND_MESSAGE\r\n"s),
         "MEMO_MSG t WS01 B [one]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.Lines), c.Header) << c.Name;
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

}  // namespace
