// Turning what a user types into a full-text query that cannot be read as query syntax.
#pragma once

#include <string>
#include <string_view>

/// Each blank-separated word of `words` as a quoted FTS5 string, all of them required, the last one as the
/// start of a word: `a "b` becomes `"a" """b"*`, so quotes, `*`, `NEAR(`, `OR` and the like are searched for,
/// never obeyed. Empty when `words` holds no word.
std::string SearchWords(std::string_view words);
