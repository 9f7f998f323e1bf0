// Line-wise editing of INI text.
#include "settings/ini/IniLines.h"

#include <QStringList>
#include <optional>

namespace {

std::optional<QString> SectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']') {
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    }
    return std::nullopt;
}

bool IsValueLine(const QString& line) {
    const QString trimmed = line.trimmed();
    return !trimmed.isEmpty() && !trimmed.startsWith(u';') && !trimmed.startsWith(u'#') &&
           trimmed.contains(u'=');
}

bool HoldsKey(const QString& line, const QString& key) {
    return IsValueLine(line) && line.left(line.indexOf(u'=')).trimmed() == key;
}

}  // namespace

QString WithIniValue(const QString& contents, const QString& section, const QString& key,
                     const QString& value) {
    // Lines keep their own ending (a file written on Windows keeps its CR LF).
    const QString lineBreak = contents.contains(u"\r\n") ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QStringList lines = contents.split(u'\n');
    const bool endsWithBreak = contents.isEmpty() || contents.endsWith(u'\n');
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
            QString& line = lines[i];
            const bool cr = line.endsWith(u'\r');
            qsizetype valueAt = line.indexOf(u'=') + 1;
            while (valueAt < line.size() && (line[valueAt] == u' ' || line[valueAt] == u'\t')) {
                ++valueAt;
            }
            line = line.left(valueAt) + value + (cr ? QStringLiteral("\r") : QString());
            written = true;
        } else if (inSection && IsValueLine(lines[i])) {
            insertAt = i + 1;
        }
    }
    const QString carriageReturn = lineBreak == u"\r\n" ? QStringLiteral("\r") : QString();
    if (!written && sectionSeen) {
        lines.insert(insertAt, key + u'=' + value + carriageReturn);
    } else if (!written) {
        lines.insert(0, u'[' + section + u']' + carriageReturn);
        lines.insert(1, key + u'=' + value + carriageReturn);
        if (lines.size() > 2) {
            lines.insert(2, carriageReturn);  // a blank line before what was there
        }
    }
    const QString result = lines.join(u'\n');
    return endsWithBreak ? result + u'\n' : result;
}
