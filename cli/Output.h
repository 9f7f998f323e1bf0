// Writes to standard output and error at once, so scripts and terminals see each event as it comes.
#pragma once

#include <cstdio>
#include <string>

inline void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

inline void PrintError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}
