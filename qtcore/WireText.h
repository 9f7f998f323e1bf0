// Between the 8-bit text of messages and Qt's strings, in the office's code page.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <optional>
#include <string>

/// Message text as a mixed office writes it: Windows copies write and read their system's ANSI code page,
/// Linux copies send UTF-8 what that code page cannot hold. A text is read as UTF-8 when it is valid UTF-8
/// with at least one multi-byte sequence, else in the code page; it is written in the code page when every
/// character fits, else in UTF-8. Each line of a memo is a text of its own. Computer names that came from the
/// network are kept as their bytes and are never written back through here.
class TWireText {
public:
    /// windows-1252, the code page of Western Windows offices.
    TWireText() = default;

    /// "windows-1251", "cp1251" or "UTF-8", in any case; nothing when unknown or not convertible here.
    static std::optional<TWireText> ForName(const QString& name);
    /// The ANSI code page that Windows uses for the language of the locale named by LC_ALL, LC_CTYPE or
    /// LANG, the first that is set; windows-1252 for a language without one of its own.
    static TWireText ForLocale(const QProcessEnvironment& environment);

    QString Name() const;
    QString Read(const std::string& bytes) const;
    std::string Write(const QString& text) const;

private:
    static constexpr int Utf8 = 65001;
    explicit TWireText(int codePage) : CodePage(codePage) {}

    int CodePage = 1252;
};
