// What arrives from other computers, decoded once in the office's code page and made safe to show once:
// every program takes these values rather than the engine's bytes.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "messenger/StringList.h"
#include "qtcore/WireText.h"

/// A computer's name as it arrived. What goes back to it is its bytes, never its text written again: a
/// name in another code page, or with bytes that are no text at all, would not encode to them.
struct TPeerName {
    std::string Bytes;
    QString Text;   ///< decoded: what JSON carries
    QString Shown;  ///< decoded and made visible: what a window or a terminal shows
};

/// A memo or a line message.
struct TArrival {
    TPeerName Origin;
    QString Time;         ///< decoded
    QString ShownTime;    ///< made visible
    QStringList Lines;    ///< decoded, one a line (a line message has one)
    QStringList Shown;    ///< made visible
    bool Memo = true;     ///< false for a line message
    std::string Bytes;    ///< the message text as it arrived, its lines joined by CR LF
};

/// Decodes and neutralises the engine's bytes; one per program, in the office's code page.
class TPeerText {
public:
    explicit TPeerText(const TWireText& text) : Text(text) {}

    TPeerName Name(const std::string& bytes) const;
    TArrival Memo(const std::string& origin, const std::string& time, const TStringList& lines) const;
    TArrival Line(const std::string& origin, const std::string& time, const std::string& line) const;
    /// Where a memo to the typed name goes: the bytes of the listed computer shown that way, or else the
    /// typed text written in the code page.
    std::string Target(const QString& typed, const TStringList& listed) const;

private:
    TWireText Text;
};
