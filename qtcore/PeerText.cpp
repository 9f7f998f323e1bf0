// Decoding the engine's bytes for the programs.
#include "qtcore/PeerText.h"

#include <algorithm>

#include "qtcore/VisibleText.h"

TPeerName TPeerText::Name(const std::string& bytes) const {
    const QString text = Text.Read(bytes);
    return {bytes, text, VisibleText(text)};
}

TArrival TPeerText::Memo(const std::string& origin, const std::string& time, const TStringList& lines) const {
    TArrival arrival{Name(origin), Text.Read(time), {}, {}, {}, true, {}};
    arrival.ShownTime = VisibleText(arrival.Time);
    for (const auto& line : lines) {
        arrival.Lines << Text.Read(line);
        arrival.Shown << VisibleText(arrival.Lines.back());
        arrival.Bytes.append(arrival.Lines.size() == 1 ? "" : "\r\n").append(line);
    }
    return arrival;
}

TArrival TPeerText::Line(const std::string& origin, const std::string& time, const std::string& line) const {
    TArrival arrival = Memo(origin, time, {line});
    arrival.Memo = false;
    return arrival;
}

std::string TPeerText::Target(const QString& typed, const TStringList& listed) const {
    const auto found = std::ranges::find_if(listed, [&](const std::string& name) { return Name(name).Shown == typed; });
    return found != listed.end() ? *found : Text.Write(typed);
}
