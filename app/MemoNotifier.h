// Tells the user of an arrival through the desktop's notifications, for when the main window is not in front.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;

class TMemoNotifier {
public:
    /// `window` is what activating a notification brings forward, and it must outlive the notifier;
    /// `openHistory` runs for the notification's History button.
    TMemoNotifier(QWidget& window, std::function<void()> openHistory);
    ~TMemoNotifier();
    TMemoNotifier(const TMemoNotifier&) = delete;
    TMemoNotifier& operator=(const TMemoNotifier&) = delete;

    /// Shows `summary` ("Kestrin: memo from <origin>") with the first lines of `text`, in place of the one shown
    /// before. Where the desktop has no notification service this does nothing, and says nothing.
    void Show(const QString& summary, const QString& text);

private:
    class TService;
    std::unique_ptr<TService> Service;
};
