// The two ways failures reach the user: the default error display and the plain message box.
#pragma once

#include <QString>
#include <functional>

/// Appends a full stop when the text's last character sorts after "." (a letter, a digit, "?").
QString WithFullStop(const QString& text);

/// A failure that escaped a handler: stop icon, caption "Kestrin", the text with the full-stop rule.
void ShowDefaultError(const QString& message);

/// One of the program's fixed failure texts: caption "Kestrin", no icon, one OK button.
void ShowPlainMessage(const QString& text);

/// Where the two displays go. Tests put a recorder here instead of a modal box; nullptr restores the boxes.
enum class TMessageKind { DefaultError, PlainMessage };
using TMessagePresenter = std::function<void(TMessageKind kind, const QString& text)>;
void SetMessagePresenter(TMessagePresenter presenter);
