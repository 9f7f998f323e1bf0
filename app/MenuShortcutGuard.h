// Lets the menu's Ins and Ctrl+Ins win over the editors, which would take them for overwrite mode and Copy.
#pragma once

#include <QObject>

class TMenuShortcutGuard final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
