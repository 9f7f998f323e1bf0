// Line-wise editing of INI bytes.
#include "settings/ini/IniLines.h"

#include <QByteArrayList>
#include <optional>

namespace {

// UTF-8's byte order mark, which editors on Windows put in front of the first line.
constexpr QByteArrayView ByteOrderMark = "\xEF\xBB\xBF";

std::optional<QByteArray> SectionName(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    }
    return std::nullopt;
}

bool IsValueLine(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    return !trimmed.isEmpty() && !trimmed.startsWith(';') && !trimmed.startsWith('#') &&
           trimmed.contains('=');
}

bool HoldsKey(const QByteArray& line, const QByteArray& key) {
    return IsValueLine(line) && line.left(line.indexOf('=')).trimmed() == key;
}

}  // namespace

QByteArray WithIniValue(const QByteArray& contents, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value) {
    const bool marked = contents.startsWith(ByteOrderMark);
    const QByteArray text = marked ? contents.mid(ByteOrderMark.size()) : contents;
    // Lines keep their own ending (a file written on Windows keeps its CR LF).
    QByteArrayList lines = text.split('\n');
    const bool endsWithBreak = text.isEmpty() || text.endsWith('\n');
    if (endsWithBreak) {
        lines.removeLast();
    }
    bool inSection = false, sectionSeen = false, written = false;
    qsizetype insertAt = -1;  // after the section's last value line
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            inSection = *name == section;
            sectionSeen = sectionSeen || inSection;
            insertAt = inSection ? i + 1 : insertAt;
        } else if (inSection && HoldsKey(lines[i], key)) {
            QByteArray& line = lines[i];
            const bool cr = line.endsWith('\r');
            qsizetype valueAt = line.indexOf('=') + 1;
            while (valueAt < line.size() && (line[valueAt] == ' ' || line[valueAt] == '\t')) {
                ++valueAt;
            }
            line = line.left(valueAt) + value + (cr ? "\r" : "");
            written = true;
        } else if (inSection && IsValueLine(lines[i])) {
            insertAt = i + 1;
        }
    }
    const QByteArray carriageReturn = text.contains("\r\n") ? "\r" : "";
    if (!written && sectionSeen) {
        lines.insert(insertAt, key + '=' + value + carriageReturn);
    } else if (!written) {
        lines.insert(0, '[' + section + ']' + carriageReturn);
        lines.insert(1, key + '=' + value + carriageReturn);
        if (lines.size() > 2) {
            lines.insert(2, carriageReturn);  // a blank line before what was there
        }
    }
    const QByteArray result = (marked ? ByteOrderMark.toByteArray() : QByteArray()) + lines.join('\n');
    return endsWithBreak ? result + '\n' : result;
}
