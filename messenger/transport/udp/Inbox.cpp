// Filtering, de-duplication and bounds of the own mailbox's queue.
#include "messenger/transport/udp/Inbox.h"

#include <functional>
#include <utility>

#include "messenger/AsciiText.h"

TInbox::TInbox(std::string boxName, const std::string& computerName, TLimits limits)
    : BoxName(std::move(boxName)), OwnName(NormalizeNetbiosName(computerName)), Limits(limits) {}

bool TInbox::Offer(const TMailslotDatagram& datagram, TClock::time_point now) {
    if (!MailslotNameMatches(datagram.MailslotName, BoxName)) {
        return false;
    }
    // A name that was not resolved yet goes out by broadcast: only the computer of that name keeps it.
    if (datagram.Type == TDatagramType::DirectUnique &&
        !EqualsIgnoringCase(datagram.DestinationName.Name, OwnName)) {
        return false;
    }
    if (!HasRoomFor(datagram.Data.size())) {
        return false;
    }
    if (SeenBefore(datagram, now)) {
        return false;
    }
    Messages.push_back(datagram.Data);
    QueuedBytes += datagram.Data.size();
    return true;
}

bool TInbox::SeenBefore(const TMailslotDatagram& datagram, TClock::time_point now) {
    while (!ExpiryOrder.empty() && now - ExpiryOrder.front().first > Limits.DuplicateWindow) {
        const auto found = RecentCopies.find(ExpiryOrder.front().second);
        // Only forget the key if it was not seen again since this entry was queued.
        if (found != RecentCopies.end() && found->second == ExpiryOrder.front().first) {
            RecentCopies.erase(found);
        }
        ExpiryOrder.pop_front();
    }
    // A sender on several networks sends one copy per network under one datagram id. The content is
    // part of the key, so that two different messages that happen to share an id are both kept.
    TCopyKey key{datagram.SourceName.Name, datagram.DatagramId, std::hash<std::string>{}(datagram.Data)};
    const auto [entry, inserted] = RecentCopies.try_emplace(key, now);
    if (inserted) {
        ExpiryOrder.emplace_back(now, std::move(key));
    }
    return !inserted;
}

std::optional<std::size_t> TInbox::NextSize() const {
    if (Messages.empty()) {
        return std::nullopt;
    }
    return Messages.front().size();
}

std::optional<std::string> TInbox::Take(std::size_t capacity) {
    if (Messages.empty() || Messages.front().size() > capacity) {
        return std::nullopt;
    }
    std::string message = std::move(Messages.front());
    Messages.pop_front();
    QueuedBytes -= message.size();
    return message;
}
