// The memos that came while the main window was not active and that nobody has looked at since.
#pragma once

#include <QSet>
#include <cstdint>

class TUnreadMemos {
public:
    /// A memo came while the window was not active; `id` is its row in the history, 0 when it has none.
    void Arrived(std::int64_t id);
    /// It was opened in the History window; false when it was not unread.
    bool Opened(std::int64_t id);
    /// The main window was activated: everything in it has been seen. False when nothing was unread.
    bool Seen();

    int Count() const { return static_cast<int>(Kept.size()) + NotKept; }
    /// 0, a memo the history could not keep, is never among them.
    bool Contains(std::int64_t id) const { return Kept.contains(id); }

private:
    QSet<std::int64_t> Kept;
    int NotKept = 0;  ///< unread memos the history could not keep, which only the main window shows
};
