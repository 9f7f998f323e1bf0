// The recorder both programs keep their history with: a history that cannot be written never holds a memo
// back, and what could not be written is written later. That a memo is on disk before it is shown is checked
// in each program's own tests, through the program, and that a history turned off writes nothing in the LAN
// tests of the console client.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "history/HistoryStore.h"
#include "qtcore/HistoryRecorder.h"

namespace {

TArrival Arrival(const QString& text) {
    return {{"\xC0-PC", "А-PC", "А-PC"}, "10:00", "10:00", {text}, {text}, true, "\xC0"};
}

// A file that refuses every write, as a full disk does: each memo is shown all the same, that is said once,
// and what waited is written with the first memo after the disk has room again. A memo older than the kept
// days goes when the recorder starts.
TEST(HistoryRecorder, StillShowsWhatCannotBeWrittenSaysSoOnceAndWritesItLater) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    const QCoreApplication app(argc, argv);
    const QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("history.sqlite").toStdString();
    THistoryStore(path).Add(std::vector<THistoryEntry>{{0, 1, "", {}, {}, "A", "A", "of 1970", "of 1970"}});
    THistoryRecorder recorder({}, path);
    QStringList problems;
    recorder.OnProblem = [&problems](const QString& text) { problems << text; };
    TSqliteConnection disk(path.string(), SQLITE_OPEN_READWRITE);
    ASSERT_EQ(
        disk.Execute("CREATE TRIGGER full BEFORE INSERT ON message BEGIN SELECT RAISE(ABORT, 'full'); END"),
        "");
    std::vector<std::int64_t> ids;
    for (const QString text : {"one", "two", "three"}) {
        if (text == "three") {
            ASSERT_EQ(disk.Execute("DROP TRIGGER full"), "");
        }
        recorder.Received(Arrival(text), [&ids](std::int64_t id) { ids.push_back(id); });
        QCoreApplication::processEvents();
    }
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_TRUE(ids[0] == 0 && ids[1] == 0 && ids[2] > 0);
    ASSERT_EQ(problems.size(), 1) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems[0].contains("kept for a later try"));
    std::vector<std::string> kept;
    for (const THistoryEntry& entry : recorder.Store()->Recent(10).Entries)
        kept.push_back(entry.Text + "|" + entry.ComputerBytes + "|" + entry.Bytes);
    EXPECT_EQ(kept, (std::vector<std::string>{"three|\xC0-PC|\xC0", "two|\xC0-PC|\xC0", "one|\xC0-PC|\xC0"}));
}

}  // namespace
