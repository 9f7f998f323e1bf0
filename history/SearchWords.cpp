// Quoting for FTS5: inside a string only the quote itself is special, written twice.
#include "history/SearchWords.h"

std::string SearchWords(std::string_view words) {
    std::string query;
    bool inWord = false;
    for (const char c : words) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (blank && inWord)
            query += '"';
        if (!blank && !inWord)
            query += query.empty() ? "\"" : " \"";
        if (!blank)
            query += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
        inWord = !blank;
    }
    if (inWord)
        query += '"';
    return query;
}
