// The Options dialog's controls, placed exactly where the layout puts them, with what a screen reader says of
// each: its caption, and what it does where the caption alone does not tell.
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>

#include "options/uniOptions.h"
#include "widgets/FixedLayout.h"

void TfrmOptions::BuildControls() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(0, 0, 262, 151);
    tsMain = new QWidget(PageControl1);
    tsMain->setObjectName("tsMain");
    PageControl1->addTab(tsMain, tr("Main"));

    cbPopUp = CheckBox(tsMain, "cbPopUp", tr("PopUp on Message"), {8, 16, 137, 17});
    cbPopUp->setAccessibleDescription(tr("Brings the Kestrin window to the front when a message arrives"));
    btnOk = Button(tsMain, "btnOk", tr("Ok"), {16, 96, 75, 25});
    btnOk->setDefault(true);
    btnOk->setAccessibleDescription(tr("Keeps both settings and closes the dialog"));
    btnClose = Button(tsMain, "btnClose", tr("Close"), {160, 96, 75, 25});
    btnClose->setAccessibleDescription(tr("Closes the dialog and keeps the settings as they were"));
    cbStartup = CheckBox(tsMain, "cbStartup", tr("Load at Startup"), {8, 48, 121, 17});
    cbStartup->setToolTip(tr("Load of program at startup"));
    cbStartup->setAccessibleDescription(tr("Starts Kestrin when a user logs on to this computer"));

    // The second box from the top comes last, after both buttons, as the layout was designed.
    setTabOrder(PageControl1, cbPopUp);
    setTabOrder(cbPopUp, btnOk);
    setTabOrder(btnOk, btnClose);
    setTabOrder(btnClose, cbStartup);

    connect(btnOk, &QPushButton::clicked, this, &TfrmOptions::btnOkClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmOptions::btnCloseClick);
}
