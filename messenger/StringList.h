// The 8-bit string list that the engine passes around (lines of a message, known computers).
#pragma once

#include <string>
#include <vector>

using TStringList = std::vector<std::string>;
