// The program's icon in the system's tray: the unread count in its tooltip, a click for the window, a menu.
#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

struct TTrayActions {
    std::function<void()> Show;     ///< a click on the icon, and the menu's Show
    std::function<void()> History;  ///< the menu's History
    std::function<void()> Exit;     ///< the menu's Exit: the program ends, with its goodbye
};

class TTrayIcon final : public QObject {
    Q_OBJECT

public:
    /// Shows the icon now, or as soon as the desktop has a tray; `historyKept` enables the History item.
    TTrayIcon(TTrayActions actions, bool historyKept, QObject* parent = nullptr);

    /// "Kestrin", or "Kestrin: 3 unread memos".
    void SetUnread(int count);
    /// Whether the icon is in a tray now, so that a hidden window can be found again.
    bool InTray() const;

private:
    TTrayActions Actions;
    QMenu Menu;
    QSystemTrayIcon Icon;
};
