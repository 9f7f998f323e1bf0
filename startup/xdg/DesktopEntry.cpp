// Desktop entry text for the autostart entry.
#include "startup/xdg/DesktopEntry.h"

#include <string_view>

namespace {

// The characters that the Exec key's rules allow in an argument only inside quotes.
constexpr std::string_view Reserved = " \t\n\r\"'\\><~|&;$*?#()`";

std::string QuotedArgument(const std::string& path) {
    const bool quoted = path.empty() || path.find_first_of(Reserved) != std::string::npos;
    std::string argument = quoted ? "\"" : "";
    for (const char c : path) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            argument += '\\';
        }
        // "%" starts a field code anywhere in the value, inside quotes too.
        argument += c == '%' ? "%%" : std::string(1, c);
    }
    return quoted ? argument + '"' : argument;
}

}  // namespace

std::string DesktopExecValue(const std::string& programPath) {
    // A reader undoes the string escapes before the quoting, so each backslash of the quoted argument is
    // doubled once more: one backslash in the path is four in the file.
    std::string value;
    for (const char c : QuotedArgument(programPath)) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string DesktopEntryText(const std::string& programPath) {
    return "[Desktop Entry]\nType=Application\nName=Kestrin\nExec=" + DesktopExecValue(programPath) + "\n";
}
