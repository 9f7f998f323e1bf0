// What a computer can be called, and which names another computer may be listed under.
#pragma once

#include <string_view>

/// Whether `name` may be a computer's name: 1 to 15 bytes, no control character, not starting with a
/// dot, no trailing blank (it could not be told from padding), and none of the characters that Windows
/// forbids in a NetBIOS computer name: \ / : * ? " < > |
bool IsValidComputerName(std::string_view name);

/// Whether a computer that announces itself as `name` may be listed by the copy called `ownName`: only a
/// name a computer can have, and never the copy's own in any case (its own datagrams come back through
/// the broadcast, and a peer under the own name would take the own memos).
bool IsListableComputer(std::string_view name, std::string_view ownName);

/// Whether `a` and `b` name the same computer, as the network tells names apart: ASCII letters in either
/// case, no more than the 15 bytes a name holds, trailing blanks not counted (they cannot be told from the
/// padding). A memo to either reaches the same computer.
bool SameComputerName(std::string_view a, std::string_view b);
