// The About box's placement over the main window and the way it closes.
#include "uniAbout.h"

#include <QShowEvent>
#include <QWindow>
#include <cmath>
#include <exception>

#include "ErrorDisplay.h"
#include "uniKestrin.h"

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("AboutBox");
    BuildControls();
}

std::unique_ptr<QDialog> MakeAboutBox(QWidget* owner) {
    return std::make_unique<TAboutBox>(owner);
}

void TAboutBox::reject() {
    done(ModalResultCancel);
}

void TAboutBox::showEvent(QShowEvent* event) {
    // Sent before the window is mapped, so the box never appears anywhere but over the main window. A
    // spontaneous show (the window system restoring it) keeps the place the user has seen.
    if (!event->spontaneous()) {
        try {
            FormShow();
        } catch (const std::exception& failure) {
            ShowDefaultError(QString::fromLocal8Bit(failure.what()));
        }
    }
    QDialog::showEvent(event);
}

void TAboutBox::FormShow() {
    SetFormPosition();
}

void TAboutBox::SetFormPosition() {
    if (frmMain == nullptr) {
        return;
    }
    move(PositionOver(frmMain->frameGeometry(), OuterSize()));
}

QPoint TAboutBox::PositionOver(const QRect& main, const QSize& box) {
    // Halved in floating point and truncated toward zero: a difference of -5 moves by -2, not -3.
    const int left = main.left() + static_cast<int>(std::trunc((main.width() - box.width()) * 0.5));
    const int top = main.top() + static_cast<int>(std::trunc((main.height() - box.height()) * 0.5));
    // Only the top is held, so a box taller than the main window keeps its title bar in sight where the
    // user just looked; sideways a wider box sticks out on both sides.
    return {left, top < main.top() ? main.top() : top};
}

QSize TAboutBox::OuterSize() const {
    // Before its first showing the window manager has not framed the box yet; the main window's frame,
    // drawn by the same window manager, stands in for it.
    QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull() && frmMain != nullptr && frmMain->windowHandle() != nullptr) {
        frame = frmMain->windowHandle()->frameMargins();
    }
    return size().grownBy(frame);
}
