// The recorder both programs keep their history with: on disk before shown, one turn one batch, and a
// history that cannot be written never holding a memo back.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "history/HistoryStore.h"
#include "qtcore/HistoryRecorder.h"

namespace {

struct HistoryRecorder : testing::Test {
    int Argc = 1;
    char Name[8] = "test";
    char* Argv[1] = {Name};
    QCoreApplication App{Argc, Argv};
    QObject Context;
    QTemporaryDir Dir;
    std::filesystem::path Path = (Dir.path() + "/history.sqlite").toStdString();
    QStringList Problems;

    std::unique_ptr<THistoryRecorder> Recorder(THistorySettings settings = {}) {
        auto recorder = std::make_unique<THistoryRecorder>(settings, Path, &Context);
        recorder->OnProblem = [this](const QString& text) { Problems << text; };
        return recorder;
    }
};

TArrival Arrival(const QString& text) {
    return {{"\xC0-PC", "А-PC", "А-PC"}, "10:00", "10:00", {text}, {text}, true, "\xC0"};
}

TEST_F(HistoryRecorder, ShowsEachArrivalOfATurnInOrderOnlyOnceItIsOnDisk) {
    auto recorder = Recorder();
    std::vector<std::pair<std::int64_t, std::size_t>> shown;  // id, memos a second reader found by then
    for (const QString text : {"one", "two", "three"}) {
        recorder->Received(Arrival(text), [&, text](std::int64_t id) {
            shown.emplace_back(id, THistoryStore(Path).Search(text.toStdString(), 10).Entries.size());
        });
    }
    recorder->Sent({"\xC1-PC", "Б-PC", "Б-PC"}, {"reply"}, "reply", false);
    EXPECT_TRUE(shown.empty()) << "shown before the turn ended";
    QCoreApplication::processEvents();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_GT(shown[0].first, 0);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].first, shown[0].first + static_cast<std::int64_t>(i));
        EXPECT_EQ(shown[i].second, 1u) << "memo " << i << " was shown before a reader could find it";
    }
    const auto rows = THistoryStore(Path).Recent(10).Entries;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Direction, THistoryDirection::Sent);
    EXPECT_EQ(rows[0].Kind, THistoryKind::Line);
    EXPECT_EQ(rows[0].ComputerBytes, "\xC1-PC");
    EXPECT_EQ(rows[3].Computer, "А-PC");
    EXPECT_EQ(rows[3].Bytes, "\xC0");
    EXPECT_TRUE(Problems.isEmpty()) << Problems.join('\n').toStdString();
}

TEST_F(HistoryRecorder, StillShowsWhenTheHistoryIsOffOrCannotBeWrittenAndSaysSoOnce) {
    // Off: the file is left alone.
    {
        auto recorder = Recorder({false, 365, {}});
        int shows = 0;
        recorder->Received(Arrival("off"), [&](std::int64_t id) { shows += id == 0; });
        QCoreApplication::processEvents();
        EXPECT_EQ(shows, 1);
        EXPECT_FALSE(std::filesystem::exists(Path));
        EXPECT_EQ(recorder->Store(), nullptr);
    }
    // A file of a newer Kestrin: read, never written, and said once however many memos come.
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(Path.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE future(x); PRAGMA user_version = 99;", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    auto recorder = Recorder();
    int shows = 0;
    for (int turn = 0; turn < 2; ++turn) {
        recorder->Received(Arrival("newer"), [&](std::int64_t id) { shows += id == 0; });
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(shows, 2);
    EXPECT_NE(recorder->Store(), nullptr);
    ASSERT_EQ(Problems.size(), 1) << Problems.join('\n').toStdString();
    EXPECT_TRUE(Problems[0].contains("newer Kestrin"));
}

TEST_F(HistoryRecorder, RemovesWhatIsOlderThanKeepDaysWhenItStarts) {
    const auto now = std::chrono::system_clock::now();
    const auto ms = [&](int daysAgo) {
        return std::chrono::duration_cast<std::chrono::milliseconds>((now - std::chrono::days(daysAgo)).time_since_epoch())
            .count();
    };
    ASSERT_TRUE(THistoryStore(Path)
                    .Add(std::vector<THistoryEntry>{{0, ms(40), "", {}, {}, "A", "A", "old", "old"},
                                                    {0, ms(20), "", {}, {}, "A", "A", "young", "young"}})
                    .Ok());
    Recorder({true, 30, {}});
    const auto rows = THistoryStore(Path).Recent(10).Entries;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Text, "young");
}

}  // namespace
