// A dialog as the keyboard and a screen reader meet it, in each of the programs' languages.
#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QHash>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QWidget>
#include <functional>

#include "qtcore/Translations.h"

/// What a screen reader says of each control, across the languages: each control Tab reaches in `window`,
/// once it is active, from its focus until the focus comes back, has a name, and in every language but
/// English says something other than it says in English. The controls' object names go to `order`; `each`
/// sees every control reached, while it has the focus.
struct TSpokenNames {
    QHash<QString, QString> English;

    void Walk(QWidget& window, const QString& language, QStringList& order,
              const std::function<void(QWidget&)>& each = {}) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QWidget *const start = QApplication::focusWidget(), *focus = start;
        for (int step = 0; focus != nullptr && step < 20; ++step) {
            QAccessibleInterface* const said = QAccessible::queryAccessibleInterface(focus);
            const QString name = focus->objectName(), called = said->text(QAccessible::Name);
            const QString spoken = called + " / " + said->text(QAccessible::Description);
            order << name;
            QVERIFY2(!called.isEmpty(), qPrintable(language + ": " + name));
            if (language == "en")
                English[name] = spoken;
            else
                QVERIFY2(spoken != English.value(name),
                         qPrintable(language + ": " + name + " says " + spoken));
            if (each)
                each(*focus);
            QTest::keyClick(focus, Qt::Key_Tab);
            focus = QApplication::focusWidget();
            if (focus == start || (focus && focus->window() != &window))
                break;
        }
    }
};

/// The control of that name in `window`, as its layout names it; the test ends when there is none.
template <class T>
T* Named(const QWidget& window, const char* name) {
    T* const control = window.findChild<T*>(name);
    if (control == nullptr)
        qFatal("%s has no control %s", qPrintable(window.objectName()), name);
    return control;
}

/// Whether the caption of a push button or check box is cut off. A push button's own size hint is never below
/// the style's least width, which the fixed layouts do not keep to, so its caption is measured alone.
inline bool Clipped(const QAbstractButton& button) {
    if (qobject_cast<const QPushButton*>(&button) == nullptr)
        return button.sizeHint().width() > button.width();
    const int margins = 2 * button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    return button.fontMetrics().horizontalAdvance(button.text()) + margins > button.width();
}

/// Where a caption or a control does not fit: a button or box whose caption is cut off, or a control that
/// reaches out of its parent. Empty when every one fits.
inline QStringList Overflowing(QWidget& window) {
    QStringList found;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window) || control->isWindow())
            continue;
        const auto* button = qobject_cast<QAbstractButton*>(control);
        if ((button != nullptr && Clipped(*button)) ||
            !control->parentWidget()->rect().contains(control->geometry()))
            found << control->objectName() + ": " +
                         (button ? button->text() : control->metaObject()->className());
    }
    return found;
}

/// Runs `check` once in each language the programs speak (English, the language the texts are written in,
/// first), with that language's translations installed as the programs install them at start.
inline void InEachLanguage(const std::function<void(const QString& language)>& check) {
    const QStringList translated = TranslatedLanguages();
    QVERIFY2(translated.contains("ru") && translated.contains("de"), qPrintable(translated.join(", ")));
    for (const QString& language : QStringList{"en"} + translated) {
        InstallTranslations(*qApp, QLocale(language));
        check(language);
        RemoveTranslations(*qApp);
    }
}
