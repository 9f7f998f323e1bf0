// The outgoing area's lines as the user sees them on the screen.
#pragma once

#include "messenger/StringList.h"
#include "qtcore/WireText.h"

class QTextEdit;

/// Every displayed line, wrapped where the area wraps it, each cut to 4,096 characters; a last empty
/// line (an empty area, or text ending in a line break) is not counted. Each line is written as `text` says.
TStringList DisplayedLines(QTextEdit& edit, const TWireText& text);
