// Visible forms of control and bidirectional formatting characters.
#include "qtcore/VisibleText.h"

namespace {

bool IsC1(char16_t c) {
    return c >= 0x80 && c <= 0x9F;
}

// LRE, RLE, PDF, LRO, RLO, and LRI, RLI, FSI, PDI: each reorders or ends a run of the text around it.
// The marks LRM and RLM stay: mixed right-to-left text needs them, and they cannot hide anything.
bool IsBidiFormatting(char16_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString CodePoint(char16_t c) {
    return QStringLiteral("<U+%1>").arg(static_cast<unsigned>(c), 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QString VisibleText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        // Caret notation, as terminals echo controls: every font has the characters for it.
        if (c < 0x20 && c != u'\t') {
            shown += u'^' + QChar(static_cast<char16_t>(c + 0x40));
        } else if (c == 0x7F) {
            shown += u"^?";
        } else if (IsC1(c) || IsBidiFormatting(c)) {
            shown += CodePoint(c);
        } else {
            shown += character;
        }
    }
    return shown;
}

QString EscapeJsonControls(const QString& json) {
    QString escaped;
    escaped.reserve(json.size());
    for (const QChar character : json) {
        const char16_t c = character.unicode();
        if (c == 0x7F || IsC1(c)) {
            escaped += QStringLiteral("\\u%1").arg(static_cast<unsigned>(c), 4, 16, QLatin1Char('0'));
        } else {
            escaped += character;
        }
    }
    return escaped;
}
