// Mailslot paths: the messenger's texts and the parsing shared by the transport backends.
#include "messenger/MailslotPath.h"

#include "messenger/AsciiText.h"

std::string TMailslotPath::ToString() const {
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on a chain of operator+.
    std::string path = "\\\\";
    path.append(Server).append("\\mailslot\\").append(Box);
    return path;
}

std::optional<TMailslotPath> TMailslotPath::Parse(std::string_view path) {
    if (!path.starts_with("\\\\")) {
        return std::nullopt;
    }
    path.remove_prefix(2);
    const auto serverEnd = path.find('\\');
    if (serverEnd == std::string_view::npos || serverEnd == 0) {
        return std::nullopt;
    }
    const std::string_view server = path.substr(0, serverEnd);
    path.remove_prefix(serverEnd + 1);
    constexpr std::string_view Middle = "mailslot\\";
    if (path.size() <= Middle.size() || !EqualsIgnoringCase(path.substr(0, Middle.size()), Middle)) {
        return std::nullopt;
    }
    const std::string_view box = path.substr(Middle.size());
    // The box may hold further backslashes (a mailbox "folder"), but no empty part and no NUL.
    if (box.empty() || box.front() == '\\' || box.back() == '\\' ||
        box.find("\\\\") != std::string_view::npos || box.find('\0') != std::string_view::npos ||
        server.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return TMailslotPath{std::string(server), std::string(box)};
}
