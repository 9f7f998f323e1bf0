// Font choice and control factories for the fixed-size windows.
#include "widgets/FixedLayout.h"

#include <QCheckBox>
#include <QDialog>
#include <QFontDatabase>
#include <QPushButton>
#include <QStringList>

QFont KestrinFont() {
    // The designed face first, then faces of about its width, so captions fit their controls; failing
    // all of them, the desktop's own sans-serif face.
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    QStringList families;
    families << "MS Sans Serif"
             << "Microsoft Sans Serif"
             << "Arial"
             << "Liberation Sans"
             << "Arimo"
             << "Helvetica"
             << "Nimbus Sans" << font.family();
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(qobject_cast<QDialog*>(parent->window()) != nullptr);
    return button;
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(place);
    box->setFont(KestrinFont());
    return box;
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void ShowInLabel(QLabel& label, const QString& text) {
    constexpr qsizetype TooltipLimit = 1000;
    const QString elided = label.fontMetrics().elidedText(text, Qt::ElideRight, label.width());
    label.setText(elided);
    label.setToolTip(elided == text               ? QString()
                     : text.size() > TooltipLimit ? text.left(TooltipLimit) + u'\u2026'
                                                  : text);
}
