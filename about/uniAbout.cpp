// The About box's placement over the main window and the way it closes.
#include "about/uniAbout.h"

#include <QShowEvent>
#include <exception>

#include "widgets/DialogPlacement.h"
#include "widgets/ErrorDisplay.h"

TAboutBox::TAboutBox(QWidget* owner, const QWidget* mainWindow)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      MainWindow(mainWindow) {
    setObjectName("AboutBox");
    BuildControls();
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
    if (MainWindow != nullptr) {
        PlaceOver(*this, *MainWindow);
    }
}
