// The Options dialog: pop-up on arrival and start at logon, stored when the user presses Ok.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "startup/StartupRegistration.h"

class QCheckBox;
class QKeyEvent;
class QPushButton;
class QShowEvent;
class QTabWidget;

/// Where LoadAtStartup takes the program's path from.
using TProgramPathSource = std::function<std::string()>;

/// What the dialog edits; all of it must outlive the dialog.
struct TOptionsEnvironment {
    TStartupRegistration& Startup;
    /// The pop-up flag: shown when the dialog is made, set on Ok.
    bool& PopUp;
    /// Stores the pop-up flag; Ok calls it after setting the flag and the start at logon.
    std::function<void()> SaveAll;
    TProgramPathSource ProgramPath = RunningProgramPath;
};

class TfrmOptions final : public QDialog {
    Q_OBJECT

public:
    /// A dialog owned by `owner`, its boxes already showing the stored state; each showing centres it over
    /// `mainWindow` (none: it stays where it is), which must outlive the dialog.
    TfrmOptions(QWidget* owner, const QWidget* mainWindow, TOptionsEnvironment environment);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTabWidget* PageControl1 = nullptr;
    QWidget* tsMain = nullptr;
    QCheckBox* cbPopUp = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnClose = nullptr;
    QCheckBox* cbStartup = nullptr;

    /// Enters the running program to be started at logon, or takes it out; reports failures, never throws.
    void LoadAtStartup(bool load);
    /// Whether an entry is stored; false, after a message, when that could not be told.
    bool CheckLoadAtStartup();
    void btnOkClick();
    void FormCreate();
    void btnCloseClick();
    void FormShow();
    void BuildControls();

    const QWidget* MainWindow;
    TOptionsEnvironment Environment;
};
