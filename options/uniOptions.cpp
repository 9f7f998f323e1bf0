// The Options dialog's behaviour: reading the stored state, placing itself, storing on Ok.
#include "options/uniOptions.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QShowEvent>
#include <QTabWidget>
#include <utility>

#include "app/uniKestrin.h"
#include "widgets/AppFont.h"
#include "widgets/DialogPlacement.h"
#include "widgets/ErrorDisplay.h"

TfrmOptions::TfrmOptions(QWidget* owner, TStartupRegistration& startup, TProgramPathSource programPath)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      Startup(startup),
      ProgramPath(std::move(programPath)) {
    setObjectName("frmOptions");
    setWindowTitle("Options");
    setFont(KestrinFont());
    BuildControls();
    setFixedSize(262, 151);
    // The designed place; FormShow moves the dialog over the main window before it appears.
    move(273, 211);
    PageControl1->setFocus();
    FormCreate();
}

void TfrmOptions::FormCreate() {
    cbPopUp->setChecked(PopUp);
    cbStartup->setChecked(CheckLoadAtStartup());
}

void TfrmOptions::showEvent(QShowEvent* event) {
    // Sent before the window is mapped, so the dialog never appears at its designed place first.
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmOptions::FormShow() { PlaceOverMainWindow(*this); }

void TfrmOptions::keyPressEvent(QKeyEvent* event) {
    // No button cancels this dialog: Esc, which would reject it, does nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmOptions::btnOkClick() {
    PopUp = cbPopUp->isChecked();
    LoadAtStartup(cbStartup->isChecked());
    if (frmMain != nullptr) {
        frmMain->SaveAll();
    }
    close();
}

void TfrmOptions::btnCloseClick() {
    close();
}

void TfrmOptions::LoadAtStartup(bool load) {
    const std::string path = load ? ProgramPath() : std::string();
    try {
        if (load) {
            Startup.Register(path);
        } else {
            Startup.Unregister();
        }
    } catch (...) {
        ShowPlainMessage("Error in TfrmOptions.LoadAtStartup");
    }
}

bool TfrmOptions::CheckLoadAtStartup() {
    try {
        return Startup.IsRegistered();
    } catch (...) {
        ShowPlainMessage("Error in TfrmOptions.CheckLoadAtStartup");
        // What could not be read is shown as not there; Ok then writes the state the user leaves the box in.
        return false;
    }
}
