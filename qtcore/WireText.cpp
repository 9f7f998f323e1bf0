// The reading and writing rules, the names of the code pages and the code page of each language.
#include "qtcore/WireText.h"

#include <QStringDecoder>
#include <algorithm>
#include <utility>

#include "qtcore/CodePage.h"

namespace {

bool IsAscii(const std::string& bytes) {
    return std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<QString> FromUtf8(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? std::nullopt : std::optional(text);
}

// The language part of a locale name: "ru" of "ru_RU.UTF-8", with its territory and modifier.
struct TLocale {
    QString Language, Territory, Modifier;
};

TLocale ParseLocale(const QString& name) {
    const QString modifier = name.section('@', 1);
    const QString base = name.section('@', 0, 0).section('.', 0, 0);
    return {base.section('_', 0, 0).toLower(), base.section('_', 1).toUpper(), modifier.toLower()};
}

int CodePageOfLocale(const TLocale& locale) {
    if (locale.Language == "zh") {
        return QStringList{"TW", "HK", "MO"}.contains(locale.Territory) ? 950 : 936;
    }
    if (locale.Language == "sr" && locale.Modifier == "latin") {
        return 1250;
    }
    static const std::pair<int, QStringList> languages[] = {
        {1251, {"ru", "uk", "be", "bg", "sr", "mk", "kk", "ky", "tt", "mn", "tg"}},
        {1250, {"pl", "cs", "sk", "hu", "sl", "hr", "ro", "sq", "bs"}},
        {1253, {"el"}},
        {1254, {"tr", "az", "uz"}},
        {1255, {"he", "yi"}},
        {1256, {"ar", "fa", "ur", "ps"}},
        {1257, {"et", "lv", "lt"}},
        {1258, {"vi"}},
        {874, {"th"}},
        {932, {"ja"}},
        {949, {"ko"}},
    };
    for (const auto& [codePage, names] : languages) {
        if (names.contains(locale.Language)) {
            return codePage;
        }
    }
    return 1252;
}

}  // namespace

std::optional<TWireText> TWireText::ForName(const QString& name) {
    const QString lower = name.trimmed().toLower();
    if (lower == "utf-8" || lower == "utf8") {
        return TWireText(Utf8);
    }
    for (const QString prefix : {"windows-", "cp"}) {
        bool number = false;
        const int codePage = lower.startsWith(prefix) ? lower.mid(prefix.size()).toInt(&number) : 0;
        const bool ansi = (codePage >= 1250 && codePage <= 1258) || codePage == 874 || codePage == 932 ||
                          codePage == 936 || codePage == 949 || codePage == 950;
        if (number && ansi && PlatformCodePage::Supports(codePage)) {
            return TWireText(codePage);
        }
    }
    return std::nullopt;
}

TWireText TWireText::ForLocale(const QProcessEnvironment& environment) {
    QString locale;
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        locale = environment.value(variable);
        if (!locale.isEmpty()) {
            break;
        }
    }
    const int codePage = CodePageOfLocale(ParseLocale(locale));
    return PlatformCodePage::Supports(codePage) ? TWireText(codePage) : TWireText();
}

QString TWireText::Name() const {
    return CodePage == Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("windows-%1").arg(CodePage);
}

QString TWireText::Read(const std::string& bytes) const {
    // Every code page here holds ASCII as ASCII; names and notices are, and they are read most.
    if (IsAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    const auto utf8 = FromUtf8(bytes);
    // Fewer characters than bytes: some character took a multi-byte sequence.
    if (utf8 && (CodePage == Utf8 || utf8->size() < static_cast<qsizetype>(bytes.size()))) {
        return *utf8;
    }
    if (CodePage != Utf8) {
        return PlatformCodePage::Decode(CodePage, bytes);
    }
    // Not UTF-8 although the office writes it: each byte stands for the character of its number.
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string TWireText::Write(const QString& text) const {
    if (std::ranges::all_of(text, [](QChar c) { return c.unicode() < 0x80; })) {
        return text.toStdString();
    }
    if (CodePage != Utf8) {
        if (auto bytes = PlatformCodePage::Encode(CodePage, text)) {
            return *bytes;
        }
    }
    return text.toStdString();
}
