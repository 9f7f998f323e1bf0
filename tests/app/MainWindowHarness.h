// A main window on the simulated LAN, with a second computer to talk to and failures recorded, not shown;
// and what a user would see wrong in any window's layout.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ErrorDisplay.h"
#include "IniSettingsStore.h"
#include "MemoryComputer.h"
#include "MemoryLan.h"
#include "SystemServices.h"
#include "uniKestrin.h"

class TMainWindowHarness : public TSystemServices {
public:
    TMainWindowHarness() {
        SetMessagePresenter([this](TMessageKind kind, const QString& text) {
            Messages << (kind == TMessageKind::DefaultError ? "error: " : "message: ") + text;
        });
    }
    ~TMainWindowHarness() override {
        Window.reset();
        SetMessagePresenter(nullptr);
    }
    std::string ComputerName() override { return "WS01"; }
    std::string UserName() override { return "tester"; }
    std::string TimeStamp() override { return "14:05:09"; }

    TfrmMain& Open() {
        Window = std::make_unique<TfrmMain>(TMainWindowEnvironment{Own, *this, Settings});
        return *Window;
    }

    /// Sends raw message text from the other computer to this window's computer.
    void Deliver(const std::string& text) {
        const auto handle = Peer.CreateFile("\\\\WS01\\mailslot\\MB303");
        Peer.WriteFile(handle, text);
        Peer.CloseHandle(handle);
    }

    /// The computer that each datagram written so far whose text holds `needle` went to.
    QStringList SentTo(const std::string& needle) const {
        QStringList targets;
        for (const auto& datagram : Lan.Traffic()) {
            if (datagram.Bytes.find(needle) != std::string::npos) {
                targets << QString::fromStdString(datagram.Path).section('\\', 2, 2);
            }
        }
        return targets;
    }

    TMemoryLan Lan;
    TMemoryComputer& Own = Lan.AddComputer("WS01");
    TMemoryComputer& Peer = Lan.AddComputer("WS02");
    QTemporaryDir Dir;
    QString Path = Dir.filePath("Kestrin.conf");
    TIniSettingsStore Settings{Path};
    std::unique_ptr<TfrmMain> Window;
    QStringList Messages;
};

/// Captions cut off, controls outside the window, and controls on top of each other.
inline QStringList LayoutProblems(QWidget& window) {
    QStringList problems;
    QList<QWidget*> seen;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(widget);
        const auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!widget->isVisibleTo(&window) || (!label && !button)) {
            continue;
        }
        const QRect place(widget->mapTo(&window, QPoint()), widget->size());
        const int frame = label ? 0 : qobject_cast<QCheckBox*>(widget) ? 20 : 4;
        if (widget->fontMetrics().horizontalAdvance(label ? label->text() : button->text()) + frame >
                place.width() ||
            !window.rect().contains(place)) {
            problems << "cut off: " + widget->objectName();
        }
        for (QWidget* other : seen) {
            if (place.intersects(QRect(other->mapTo(&window, QPoint()), other->size()))) {
                problems << "overlap: " + widget->objectName() + ", " + other->objectName();
            }
        }
        seen << widget;
    }
    return problems;
}
