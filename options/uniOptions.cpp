// The Options dialog's behaviour: reading the stored state, placing itself, storing on Ok.
#include "options/uniOptions.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QShowEvent>
#include <QTabWidget>
#include <utility>

#include "widgets/DialogPlacement.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/FixedLayout.h"

TfrmOptions::TfrmOptions(QWidget* owner, const QWidget* mainWindow, TOptionsEnvironment environment)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      MainWindow(mainWindow),
      Environment(std::move(environment)) {
    setObjectName("frmOptions");
    setWindowTitle(tr("Options"));
    setFont(KestrinFont());
    BuildControls();
    setFixedSize(262, 151);
    // The designed place; FormShow moves the dialog over the main window before it appears.
    move(273, 211);
    PageControl1->setFocus();
    FormCreate();
}

void TfrmOptions::FormCreate() {
    cbPopUp->setChecked(Environment.PopUp);
    cbStartup->setChecked(CheckLoadAtStartup());
}

void TfrmOptions::showEvent(QShowEvent* event) {
    // Sent before the window is mapped, so the dialog never appears at its designed place first.
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmOptions::FormShow() {
    if (MainWindow != nullptr) {
        PlaceOver(*this, *MainWindow);
    }
}

void TfrmOptions::keyPressEvent(QKeyEvent* event) {
    // No button cancels this dialog: Esc, which would reject it, does nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmOptions::btnOkClick() {
    Environment.PopUp = cbPopUp->isChecked();
    LoadAtStartup(cbStartup->isChecked());
    Environment.SaveAll();
    close();
}

void TfrmOptions::btnCloseClick() {
    close();
}

void TfrmOptions::LoadAtStartup(bool load) {
    const std::string path = load ? Environment.ProgramPath() : std::string();
    try {
        if (load) {
            Environment.Startup.Register(path);
        } else {
            Environment.Startup.Unregister();
        }
    } catch (...) {
        ShowPlainMessage(tr("Error in TfrmOptions.LoadAtStartup"));
    }
}

bool TfrmOptions::CheckLoadAtStartup() {
    try {
        return Environment.Startup.IsRegistered();
    } catch (...) {
        ShowPlainMessage(tr("Error in TfrmOptions.CheckLoadAtStartup"));
        // What could not be read is shown as not there; Ok then writes the state the user leaves the box in.
        return false;
    }
}
