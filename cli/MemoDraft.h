// The memo being written in the interactive session, kept no longer than any memo can be.
#pragma once

#include <cstddef>
#include <string>

#include "messenger/StringList.h"

class TMemoDraft {
public:
    /// `longest`: the most bytes of message text a memo can have (TCliSession::LongestMemoBytes).
    explicit TMemoDraft(std::size_t longest) : Longest(longest) {}

    /// Adds a line as it goes on the wire, unless the memo would then be longer than any memo can be: then
    /// neither it nor any later line is kept until Clear, since a memo with lines left out must not go.
    /// False when the line was not added.
    bool Add(std::string line);
    /// Whether a line was refused: the memo can no longer be sent.
    bool Overfull() const { return Refused; }
    const TStringList& Lines() const { return Kept; }
    bool Empty() const { return Kept.empty() && !Refused; }
    void Clear();

private:
    std::size_t Longest;
    TStringList Kept;
    std::size_t Bytes = 0;  ///< of the kept lines, each with its CR LF
    bool Refused = false;
};
