// Mailslot paths: the check shared by the transport backends, and the text form.
#include "messenger/MailslotPath.h"

#include "messenger/AsciiText.h"

std::string TMailslotPath::ToString() const {
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on a chain of operator+.
    std::string path = "\\\\";
    path.append(Server).append("\\mailslot\\").append(Box);
    return path;
}

bool TMailslotPath::Valid() const {
    using namespace std::string_view_literals;
    // The box may hold further backslashes (a mailbox "folder"), but no empty part and no NUL.
    return !Server.empty() && Server.find_first_of("\\\0"sv) == std::string::npos && !Box.empty() &&
           Box.front() != '\\' && Box.back() != '\\' && Box.find("\\\\") == std::string::npos &&
           Box.find('\0') == std::string::npos;
}

std::optional<TMailslotPath> TMailslotPath::Parse(std::string_view path) {
    if (!path.starts_with("\\\\")) {
        return std::nullopt;
    }
    path.remove_prefix(2);
    const auto serverEnd = path.find('\\');
    if (serverEnd == std::string_view::npos) {
        return std::nullopt;
    }
    TMailslotPath parsed{std::string(path.substr(0, serverEnd)), {}};
    path.remove_prefix(serverEnd + 1);
    constexpr std::string_view Middle = "mailslot\\";
    if (path.size() < Middle.size() || !EqualsIgnoringCase(path.substr(0, Middle.size()), Middle)) {
        return std::nullopt;
    }
    parsed.Box = path.substr(Middle.size());
    return parsed.Valid() ? std::optional(std::move(parsed)) : std::nullopt;
}
