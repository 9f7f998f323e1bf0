// The controls of the fixed-size windows, each placed exactly where its window's layout puts it.
#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>

class QCheckBox;
class QPushButton;
class QWidget;

/// "MS Sans Serif" at 11 pixels where installed, else a face of about its width, else the desktop's
/// sans-serif face, always at 11 pixels.
QFont KestrinFont();

/// A push button. In a dialog Enter presses the focused button (with the focus elsewhere, the default
/// one); in the main window Enter presses none.
QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect place);

/// A check box with a font of its own, equal to the window's.
QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& caption, QRect place);

/// A label that keeps its size and cuts off what is longer. Its text is shown as it is, never as markup:
/// origins, times and texts come from the network.
QLabel* Label(QWidget* parent, const char* name, const QString& caption, QRect place);
/// Shows `text` in a label of fixed size: cut to its width with an ellipsis when longer, the whole of it
/// (up to a screenful) in the tooltip, so that a long text can neither spill over its neighbours nor
/// vanish unseen.
void ShowInLabel(QLabel& label, const QString& text);

/// A plain-text label whose text starts at `at` and which takes the size of its text.
template <typename TLabel = QLabel>
TLabel* Caption(QWidget* parent, const char* name, const QString& text, QPoint at) {
    auto* label = new TLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->move(at);
    label->adjustSize();
    return label;
}
