// The history's tables: one row per message, and a full-text index over the text as shown.
#include "history/HistorySchema.h"

#include "history/SqliteConnection.h"

namespace {

// The index keeps no copy of the text (external content): the rows are its content, and triggers keep both in
// step. remove_diacritics 2 folds "é" to "e" and, with unicode61's case folding, "ПРИВЕТ" to "привет".
constexpr const char* Tables = R"(
BEGIN IMMEDIATE;
CREATE TABLE IF NOT EXISTS message(
    id INTEGER PRIMARY KEY,
    received_ms INTEGER NOT NULL,
    sender_time TEXT NOT NULL,
    direction INTEGER NOT NULL,
    kind INTEGER NOT NULL,
    computer_bytes BLOB NOT NULL,
    computer TEXT NOT NULL,
    text TEXT NOT NULL,
    bytes BLOB NOT NULL);
CREATE INDEX IF NOT EXISTS message_by_computer ON message(computer, id);
CREATE INDEX IF NOT EXISTS message_by_time ON message(received_ms);
CREATE VIRTUAL TABLE IF NOT EXISTS message_text USING fts5(
    text, content='message', content_rowid='id', tokenize='unicode61 remove_diacritics 2');
CREATE TRIGGER IF NOT EXISTS message_indexed AFTER INSERT ON message BEGIN
    INSERT INTO message_text(rowid, text) VALUES (new.id, new.text);
END;
CREATE TRIGGER IF NOT EXISTS message_unindexed AFTER DELETE ON message BEGIN
    INSERT INTO message_text(message_text, rowid, text) VALUES ('delete', old.id, old.text);
END;
PRAGMA user_version = 1;
COMMIT;
)";

static_assert(HistorySchema::Version == 1, "stamp the new version in Tables and migrate older files");

}  // namespace

std::string HistorySchema::Create(const TSqliteConnection& db) {
    std::string error = db.Execute(Tables);
    if (!error.empty())
        db.Execute("ROLLBACK");  // fails harmlessly when the failed statement already ended the transaction
    return error;
}
