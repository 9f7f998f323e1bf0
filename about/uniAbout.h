// TAboutBox: the program's title, version, icon, author, rights notice and links, with one OK button.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QShowEvent;
class TURLLabel;

/// What showing the About box modally returns, however it was closed.
constexpr int ModalResultCancel = 2;

class TAboutBox final : public QDialog {
    Q_OBJECT

public:
    /// The box with all its controls, owned by `owner`; each showing centres it over `mainWindow` (none: it
    /// stays where it is), which must outlive the box.
    TAboutBox(QWidget* owner, const QWidget* mainWindow);

public slots:
    /// Esc and the close box end the box like its OK button does.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* OKButton = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    TURLLabel* URLLabel1 = nullptr;
    TURLLabel* URLLabel2 = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QFrame* Bevel2 = nullptr;
    TURLLabel* URLLabel3 = nullptr;
    QLabel* Label7 = nullptr;

    /// Centres the box over the main window; leaves it where it is when there is none.
    void SetFormPosition();
    void FormShow();
    void BuildControls();

    const QWidget* MainWindow;
};
