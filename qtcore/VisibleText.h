// Text from the network, made safe to show: nothing a peer sends may steer the terminal or the window.
#pragma once

#include <QString>

/// `text` with every character that acts instead of showing made visible: C0 controls but TAB and DEL in
/// caret notation (ESC as "^[", DEL as "^?"), C1 controls and the explicit bidirectional embeddings,
/// overrides and isolates as "<U+202E>". A peer can then neither send escape sequences to a
/// terminal (clear the screen, retitle the window, write the clipboard), nor return to the line's start
/// to overwrite it, nor reverse the text around it.
QString VisibleText(const QString& text);

/// JSON text with DEL and the C1 controls escaped as \u007f … \u009f as well (JSON escapes only C0 itself):
/// a terminal reading UTF-8 takes U+009B as the start of an escape sequence.
QString EscapeJsonControls(const QString& json);
