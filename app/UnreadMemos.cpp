// Counting unread memos.
#include "app/UnreadMemos.h"

void TUnreadMemos::Arrived(std::int64_t id) {
    if (id == 0) {
        ++NotKept;
    } else {
        Kept.insert(id);
    }
}

bool TUnreadMemos::Opened(std::int64_t id) {
    return Kept.remove(id);
}

bool TUnreadMemos::Seen() {
    const bool any = Count() > 0;
    Kept.clear();
    NotKept = 0;
    return any;
}
