// The recorder both programs keep their history with: a history that is off or cannot be written never holds
// a memo back. That a memo is on disk before it is shown is checked in each program's
// own tests, through the program.
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

}  // namespace
