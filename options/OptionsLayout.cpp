// The Options dialog's controls, placed exactly where the layout puts them.
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>

#include "options/uniOptions.h"
#include "widgets/AppFont.h"

namespace {

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(place);
    box->setFont(KestrinFont());
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    // Enter presses the focused button; with the focus elsewhere it presses the default one.
    button->setAutoDefault(true);
    return button;
}

}  // namespace

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
