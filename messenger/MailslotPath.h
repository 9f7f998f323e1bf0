// A mailslot path (`\\SERVER\mailslot\BOX`): composed as the messenger writes it, taken apart as the
// backends must refuse what does not parse.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct TMailslotPath {
    std::string Server;  ///< "." for this computer, "*" for every computer, else a computer name
    std::string Box;     ///< the mailbox name, as written

    bool IsLocal() const { return Server == "."; }
    bool IsBroadcast() const { return Server == "*"; }

    /// "\\" + Server + "\mailslot\" + Box, joined with nothing added and no check of the parts.
    std::string ToString() const;
    /// Nothing for a path without the two leading backslashes, an empty server or box, or a
    /// middle part other than "mailslot" (in any case).
    static std::optional<TMailslotPath> Parse(std::string_view path);
};
