// A mailslot path (`\\SERVER\mailslot\BOX`): the address of one send, with the check every backend makes
// before it opens or sends, and the text form for those that need one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct TMailslotPath {
    std::string Server;  ///< "." for this computer, "*" for every computer, else a computer name
    std::string Box;     ///< the mailbox name, as written

    bool IsLocal() const { return Server == "."; }
    bool IsBroadcast() const { return Server == "*"; }

    /// Whether the parts address a mailbox: a server without backslashes, a box of nonempty parts between
    /// single backslashes, neither empty nor holding a NUL. What a backend may neither open nor send to.
    bool Valid() const;
    /// "\\" + Server + "\mailslot\" + Box, joined with nothing added and no check of the parts.
    std::string ToString() const;
    /// Nothing for a path without the two leading backslashes, a middle part other than "mailslot" (in
    /// any case), or parts that are not Valid.
    static std::optional<TMailslotPath> Parse(std::string_view path);
};
