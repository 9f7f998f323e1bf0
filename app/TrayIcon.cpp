// The tray icon over Qt's: StatusNotifierItem where the desktop has a watcher, the X11 tray or Windows'
// notification area elsewhere.
#include "app/TrayIcon.h"

#include <QApplication>

TTrayIcon::TTrayIcon(TTrayActions actions, bool historyKept, QObject* parent)
    : QObject(parent), Actions(std::move(actions)), Icon(QApplication::windowIcon(), this) {
    Icon.setObjectName("trayIcon");
    QAction* show = Menu.addAction(tr("&Show"), [this] { Actions.Show(); });
    show->setObjectName("mnuTrayShow");
    QAction* history = Menu.addAction(tr("&History"), [this] { Actions.History(); });
    history->setObjectName("mnuTrayHistory");
    history->setEnabled(historyKept);
    Menu.addSeparator();
    QAction* exit = Menu.addAction(tr("&Exit"), [this] { Actions.Exit(); });
    exit->setObjectName("mnuTrayExit");
    Icon.setContextMenu(&Menu);
    connect(&Icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
            Actions.Show();
        }
    });
    SetUnread(0);
    Icon.show();
}

void TTrayIcon::SetUnread(int count) {
    Icon.setToolTip(count == 0   ? QStringLiteral("Kestrin")
                    : count == 1 ? tr("Kestrin: 1 unread memo")
                                 : tr("Kestrin: %n unread memos", nullptr, count));
}

bool TTrayIcon::InTray() const {
    return QSystemTrayIcon::isSystemTrayAvailable() && Icon.isVisible();
}
