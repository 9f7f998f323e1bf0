// The About box's placement over the main window and the way it closes.
#include "about/uniAbout.h"

#include <QShowEvent>
#include <exception>

#include "app/uniKestrin.h"
#include "widgets/DialogPlacement.h"
#include "widgets/ErrorDisplay.h"

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

void TAboutBox::SetFormPosition() { PlaceOverMainWindow(*this); }
