// Shortcut-override filter for the send keys.
#include "app/MenuShortcutGuard.h"

#include <QKeyEvent>

bool TMenuShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Insert && (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier)) {
            // Swallowed unaccepted: the editor never claims the key, so the window's shortcut runs.
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
