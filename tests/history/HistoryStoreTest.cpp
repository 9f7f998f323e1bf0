// The history store: exact bytes back, newest first, search in Cyrillic and with accents, hostile search words,
// retention, the faults it must survive, and a reader beside a writer.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>

#include "history/HistoryStore.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

struct HistoryStore : testing::Test {
    fs::path Dir = [] {
        std::string pattern = (fs::temp_directory_path() / "kestrin-history-XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()));
    }();
    fs::path Path = Dir / "sub" / "history.sqlite";

    ~HistoryStore() override { fs::remove_all(Dir); }
};

THistoryEntry Entry(std::string computer, std::string text, std::int64_t ms = 1'700'000'000'000) {
    return {0, ms, "12:00:00", THistoryDirection::Received, THistoryKind::Memo, computer, computer, text, text};
}

std::vector<std::string> Texts(const THistoryRows& rows) {
    EXPECT_TRUE(rows.Ok()) << rows.Error;
    std::vector<std::string> texts;
    for (const THistoryEntry& entry : rows.Entries)
        texts.push_back(entry.Text);
    return texts;
}

TEST_F(HistoryStore, KeepsEveryFieldAndByteAcrossReopening) {
    std::vector<THistoryEntry> written = {
        {0, 1, "01.02.2024 10:00", THistoryDirection::Sent, THistoryKind::Line, "\xC0\xCD\xCD\xC0-PC", "АННА-PC",
         "Привет, Анна!", std::string("\xCF\xF0\xE8\xE2\xE5\xF2\0\r\n", 9)},
        {0, -5, "", THistoryDirection::Received, THistoryKind::Memo, "", "", "", ""}};
    const THistoryAdded added = THistoryStore(Path).Add(written);
    ASSERT_TRUE(added.Ok());
    THistoryStore reopened(Path);
    EXPECT_EQ(reopened.Opened().State, THistoryOpenState::Ready);
    written[0].Id = added.FirstId;
    written[1].Id = added.FirstId + 1;
    EXPECT_EQ(reopened.Recent(10).Entries, (std::vector{written[1], written[0]}));
    EXPECT_EQ(fs::status(Path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// Each memo on a day of its own, from the first day of 1970 on.
TEST_F(HistoryStore, RecentIsNewestFirstPagedAndFilteredAndOnlyWhatIsOlderThanTheKeptDaysGoes) {
    const auto day = [](int n) { return duration_cast<milliseconds>(days(n)).count(); };
    THistoryStore store(Path);
    for (int n = 1; n <= 5; ++n)  // from A and B in turn
        ASSERT_TRUE(store.Add(std::vector{Entry(n % 2 ? "A" : "B", std::to_string(n), day(n))}).Ok());
    EXPECT_EQ(Texts(store.Recent(10)), (std::vector<std::string>{"5", "4", "3", "2", "1"}));
    EXPECT_EQ(Texts(store.Recent(2, 1)), (std::vector<std::string>{"4", "3"}));
    EXPECT_EQ(Texts(store.Recent(10, 0, {"A", {}})), (std::vector<std::string>{"5", "3", "1"}));
    EXPECT_EQ(Texts(store.Recent(10, 0, {"C", {}})), std::vector<std::string>{});
    EXPECT_EQ(Texts(store.Recent(10, 0, {"A", day(3)})), (std::vector<std::string>{"5", "3"}));
    EXPECT_EQ(Texts(store.Search("4", 10, {std::nullopt, day(4)})), std::vector<std::string>{"4"});
    EXPECT_EQ(Texts(store.Search("2", 10, {std::nullopt, day(4)})), std::vector<std::string>{});
    // Ten days kept on the middle of the 13th day: the first two days go, from the search too; 0 keeps all.
    const system_clock::time_point later(days(12) + hours(12));
    ASSERT_TRUE(store.RemoveOlderThan(0, later).Ok());
    EXPECT_EQ(store.Recent(10).Entries.size(), 5u);
    ASSERT_TRUE(store.RemoveOlderThan(10, later).Ok());
    EXPECT_EQ(Texts(store.Recent(10)), (std::vector<std::string>{"5", "4", "3"}));
    EXPECT_EQ(Texts(store.Search("2", 10)), std::vector<std::string>{});
}

TEST_F(HistoryStore, SearchIgnoresCaseAndAccentsAndObeysNoSyntax) {
    THistoryStore store(Path);
    ASSERT_TRUE(store.Add(std::vector{Entry("A", "ПРИВЕТ всем, ёлка"), Entry("B", "Café crème brûlée"),
                                      Entry("A", "say \"hi\" OR NEAR( * -x:y bye"), Entry("B", "привет от Бориса")})
                    .Ok());
    const std::tuple<const char*, std::optional<std::string>, std::vector<std::string>> rows[] = {
        {"привет", {}, {"привет от Бориса", "ПРИВЕТ всем, ёлка"}},
        {"Привет", "A", {"ПРИВЕТ всем, ёлка"}},
        {"  ПРИВЕТ   бориса ", {}, {"привет от Бориса"}},
        {"CAFE creme", {}, {"Café crème brûlée"}},
        {"прив", {}, {}},  // whole words only
        {"brulee", "A", {}},
        {"\"hi\" OR", {}, {"say \"hi\" OR NEAR( * -x:y bye"}},
        {"NEAR(", {}, {"say \"hi\" OR NEAR( * -x:y bye"}},
    };
    for (const auto& [words, computer, expected] : rows)
        EXPECT_EQ(Texts(store.Search(words, 10, {computer, {}})), expected) << words;
    for (const char* words : {"\"", "*", "-x:y AND NOT (", ""})
        EXPECT_EQ(Texts(store.Search(words, 10)), std::vector<std::string>{}) << words;
}

TEST_F(HistoryStore, ADamagedFileIsMovedAsideAndAnUnusablePlaceFailsCleanly) {
    fs::create_directories(Path.parent_path());
    const std::string garbage(8192, 'x');
    std::ofstream(Path) << garbage;
    EXPECT_EQ(THistoryStore(Path, THistoryAccess::Read).Opened().State, THistoryOpenState::Failed);
    EXPECT_EQ(fs::file_size(Path), garbage.size()) << "a reader changed the file";
    THistoryStore store(Path);
    ASSERT_EQ(store.Opened().State, THistoryOpenState::StartedAfresh) << store.Opened().Error;
    EXPECT_EQ(fs::path(store.Opened().DamagedPath).parent_path(), Path.parent_path());
    EXPECT_TRUE(store.Opened().DamagedPath.starts_with(Path.string() + ".damaged-2"));
    EXPECT_EQ(fs::file_size(store.Opened().DamagedPath), garbage.size());
    EXPECT_TRUE(store.Add(std::vector{Entry("A", "after")}).Ok());
    EXPECT_EQ(Texts(store.Recent(10)), std::vector<std::string>{"after"});
    // A file where the folder should be: every call fails, cleanly.
    std::ofstream(Dir / "file") << "a file where the folder should be";
    THistoryStore unwritable(Dir / "file" / "history.sqlite");
    EXPECT_EQ(unwritable.Opened().State, THistoryOpenState::Failed);
    EXPECT_FALSE(unwritable.Opened().Error.empty());
    EXPECT_FALSE(unwritable.Add(std::vector{Entry("A", "lost")}).Ok());
    EXPECT_FALSE(unwritable.Recent(10).Ok());
    EXPECT_FALSE(unwritable.Search("lost", 10).Ok());
}

TEST_F(HistoryStore, ANewerFileIsReadButNotWritten) {
    ASSERT_TRUE(THistoryStore(Path).Add(std::vector{Entry("A", "kept")}).Ok());
    ASSERT_EQ(TSqliteConnection(Path.string(), SQLITE_OPEN_READWRITE).Execute("PRAGMA user_version = 9"), "");
    THistoryStore store(Path);
    EXPECT_EQ(store.Opened().State, THistoryOpenState::ReadOnlyNewer);
    EXPECT_FALSE(store.Add(std::vector{Entry("A", "refused")}).Ok());
    EXPECT_FALSE(store.RemoveOlderThan(1).Ok());
    EXPECT_EQ(Texts(store.Recent(10)), std::vector<std::string>{"kept"});
}

TEST_F(HistoryStore, ASecondStoreReadsWhileAWriterHoldsTheFile) {
    THistoryStore writer(Path), reader(Path, THistoryAccess::Read);
    ASSERT_TRUE(writer.Add(std::vector{Entry("A", "committed")}).Ok());
    TSqliteConnection holder(Path.string(), SQLITE_OPEN_READWRITE);
    ASSERT_EQ(holder.Execute("BEGIN EXCLUSIVE; DELETE FROM message;"), "");
    EXPECT_EQ(Texts(reader.Recent(10)), std::vector<std::string>{"committed"});
    EXPECT_EQ(Texts(reader.Search("committed", 10)), std::vector<std::string>{"committed"});
    ASSERT_EQ(holder.Execute("COMMIT"), "");
    EXPECT_EQ(Texts(reader.Recent(10)), std::vector<std::string>{});
    EXPECT_TRUE(writer.Add(std::vector{Entry("A", "again")}).Ok());
    EXPECT_EQ(Texts(reader.Recent(10)), std::vector<std::string>{"again"});
    EXPECT_FALSE(reader.Add(std::vector{Entry("A", "from a reader")}).Ok());
}

}  // namespace
