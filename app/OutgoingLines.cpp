// Reading the wrapped lines of a text edit.
#include "app/OutgoingLines.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace {

constexpr int LongestLine = 4096;

}  // namespace

TStringList DisplayedLines(QTextEdit& edit, const TWireText& text) {
    QTextDocument* document = edit.document();
    // Asking for the size finishes the layout, so every block knows where it wraps.
    document->documentLayout()->documentSize();
    QStringList lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString paragraph = block.text();
        const QTextLayout* layout = block.layout();
        if (layout == nullptr || layout->lineCount() == 0) {
            lines << paragraph;
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
    }
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.pop_back();
    }
    TStringList result;
    for (const QString& line : lines) {
        result.push_back(text.Write(line.left(LongestLine)));
    }
    return result;
}
