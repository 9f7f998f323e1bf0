// The Options dialog's controls, placed exactly where the layout puts them.
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
    PageControl1->addTab(tsMain, "Main");

    cbPopUp = CheckBox(tsMain, "cbPopUp", "PopUp on Message", {8, 16, 137, 17});
    btnOk = Button(tsMain, "btnOk", "Ok", {16, 96, 75, 25});
    btnOk->setDefault(true);
    btnClose = Button(tsMain, "btnClose", "Close", {160, 96, 75, 25});
    cbStartup = CheckBox(tsMain, "cbStartup", "Load at Startup", {8, 48, 121, 17});
    cbStartup->setToolTip("Load of program at startup");

    // The second box from the top comes last, after both buttons, as the layout was designed.
    setTabOrder(PageControl1, cbPopUp);
    setTabOrder(cbPopUp, btnOk);
    setTabOrder(btnOk, btnClose);
    setTabOrder(btnClose, cbStartup);

    connect(btnOk, &QPushButton::clicked, this, &TfrmOptions::btnOkClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmOptions::btnCloseClick);
}
