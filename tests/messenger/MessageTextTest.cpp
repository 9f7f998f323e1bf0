// Message texts: the composed bytes, the splitting rules and the header reading.
#include "MessageText.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(MessageText, ComposesTheWorkedExamplesByteForByte) {
    TStringList online;
    MessageText::AppendCommand(online, "14:05:09", "WS01", MessageText::OnlineNotify);
    const std::string announcement = MessageText::Join(online);
    EXPECT_EQ(announcement, "COMMAND_MSG\r\n14:05:09\r\nWS01\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
    EXPECT_EQ(announcement.size(), 57u);

    TStringList memo;
    MessageText::AppendMemo(memo, "14:06:30", "WS01", {"Lunch at one?", "", "See you."});
    const std::string text = MessageText::Join(memo);
    EXPECT_EQ(text, "MEMO_MSG\r\n14:06:30\r\nWS01\r\nBEGIN_MEMO\r\nLunch at one?\r\n\r\nSee you.\r\nEND_MESSAGE\r\n");
    EXPECT_EQ(text.size(), 78u);

    const auto header = MessageText::ReadHeader(MessageText::Split(text));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->Kind, "MEMO_MSG");
    EXPECT_EQ(header->Time, "14:06:30");
    EXPECT_EQ(header->Origin, "WS01");
    EXPECT_EQ(header->Text, "BEGIN_MEMO");
    EXPECT_EQ(header->MsgLines, (TStringList{"Lunch at one?", "", "See you."}));
}

TEST(MessageText, ComposesLinesUnchangedWithoutEscaping) {
    TStringList out;
    MessageText::AppendMemo(out, "t", "o", {});
    EXPECT_EQ(out, (TStringList{"MEMO_MSG", "t", "o", "BEGIN_MEMO", "END_MESSAGE"}));

    out.clear();
    MessageText::AppendMemo(out, "t", "o", {"END_MESSAGE", "caf\xe9", "two\r\nlines"});
    const auto header = MessageText::ReadHeader(MessageText::Split(MessageText::Join(out)));
    ASSERT_TRUE(header);
    // A keyword inside a memo stays part of it; an embedded break arrives as two lines.
    EXPECT_EQ(header->MsgLines, (TStringList{"END_MESSAGE", "caf\xe9", "two", "lines"}));
}

struct TSplitCase {
    const char* Name;
    std::string Bytes;
    TStringList Lines;
};

TEST(MessageText, SplitsByEveryLineBreakRule) {
    const TSplitCase cases[] = {
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lone cr", "a\rb\r", {"a", "b"}},
        {"lone lf", "a\nb\n", {"a", "b"}},
        {"lf cr gains an empty line", "a\n\rb", {"a", "", "b"}},
        {"cr cr is two breaks", "a\r\rb", {"a", "", "b"}},
        {"no trailing break", "a\r\nb", {"a", "b"}},
        {"empty datagram", "", {}},
        {"only a break", "\r\n", {""}},
        {"empty lines kept", "\r\n\r\nx\r\n", {"", "", "x"}},
        {"nul ends the text", "a\r\nb\0c\r\nd\r\n"s, {"a", "b"}},
        {"leading nul", "\0abc"s, {}},
        {"bytes above 127 untouched", "\xff\xfe\r\n", {"\xff\xfe"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageText::Split(c.Bytes), c.Lines) << c.Name;
    }
}

TEST(MessageText, ReadsTheHeaderOnlyFromFourLinesOn) {
    EXPECT_FALSE(MessageText::ReadHeader({}));
    EXPECT_FALSE(MessageText::ReadHeader({"MEMO_MSG", "t", "WS01"}));

    // Cut short after line 4: a memo with no lines.
    const auto four = MessageText::ReadHeader({"MEMO_MSG", "t", "WS01", "BEGIN_MEMO"});
    ASSERT_TRUE(four);
    EXPECT_TRUE(four->MsgLines.empty());
    const auto five = MessageText::ReadHeader({"MEMO_MSG", "t", "WS01", "BEGIN_MEMO", "x"});
    ASSERT_TRUE(five);
    EXPECT_TRUE(five->MsgLines.empty());

    // Delimiters are skipped by position, never checked; the last line is dropped whatever it holds.
    const auto odd = MessageText::ReadHeader({"MEMO_MSG", "t", "WS01", "NOT_BEGIN", "a", "", "NOT_END"});
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->MsgLines, (TStringList{"a", ""}));

    // A NUL inside a memo line: the part before it becomes the last line and is skipped.
    const auto cut = MessageText::ReadHeader(
        MessageText::Split("MEMO_MSG\r\nt\r\nWS01\r\nBEGIN_MEMO\r\none\r\ntw\0o\r\nEND_MESSAGE\r\n"s));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->MsgLines, (TStringList{"one"}));

    const auto line = MessageText::ReadHeader(
        MessageText::Split("LINE_MSG\r\n14:07:12\r\nWS02\r\nMeeting moved\r\nignored\r\n"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->Kind, "LINE_MSG");
    EXPECT_EQ(line->Text, "Meeting moved");
}

}  // namespace
