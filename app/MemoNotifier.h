// Tells the user of an arrival through the desktop's notifications, for when the main window is not in front.
#pragma once

#include <QString>
#include <memory>

class QWidget;

class TMemoNotifier {
public:
    /// `window` is what activating a notification brings forward; it must outlive the notifier.
    explicit TMemoNotifier(QWidget& window);
    ~TMemoNotifier();
    TMemoNotifier(const TMemoNotifier&) = delete;
    TMemoNotifier& operator=(const TMemoNotifier&) = delete;

    /// Shows "Kestrin: memo from <origin>" with the first lines of `text`, in place of the one shown before.
    /// Where the desktop has no notification service this does nothing, and says nothing.
    void Show(const QString& origin, const QString& text);

private:
    class TService;
    std::unique_ptr<TService> Service;
};
