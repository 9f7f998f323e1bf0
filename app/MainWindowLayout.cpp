// The main window's controls and menu, placed exactly where the layout puts them.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextEdit>

#include "app/MenuShortcutGuard.h"
#include "app/uniKestrin.h"
#include "widgets/FixedLayout.h"

namespace {

QTextEdit* Memo(QWidget* parent, const char* name, QRect place) {
    auto* memo = new QTextEdit(parent);
    memo->setObjectName(name);
    memo->setGeometry(place);
    memo->setAcceptRichText(false);
    memo->setLineWrapMode(QTextEdit::WidgetWidth);
    memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setTabChangesFocus(true);
    return memo;
}

}  // namespace

void TfrmMain::BuildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(393, 232);
    setCentralWidget(client);

    btnSendOutMemo = Button(client, "btnSendOutMemo", tr("Send Message to"), {8, 2, 97, 22});
    btnSendOutMemo->setToolTip(tr("Send message to computer [INS]"));
    cmbComputers = new QComboBox(client);
    cmbComputers->setObjectName("cmbComputers");
    cmbComputers->setGeometry(112, 2, 145, 21);
    cmbComputers->setEditable(true);
    cmbComputers->setInsertPolicy(QComboBox::NoInsert);
    // The target is exactly what was typed: completing "PC1" to "PC10" would send to the wrong person.
    cmbComputers->setCompleter(nullptr);
    cmbComputers->setMaxVisibleItems(8);
    cmbComputers->setToolTip(tr("Available Computers"));
    btnSendAll = Button(client, "btnSendAll", tr("Send Anyone"), {264, 2, 73, 22});
    btnSendAll->setToolTip(tr("Send message to all computers"));
    memoOutMemo = Memo(client, "memoOutMemo", {8, 32, 329, 80});
    memoOutMemo->setToolTip(tr("Outgoing message"));
    lblOutgoing = Caption(client, "lblOutgoing", tr("Outgoing"), {344, 40});
    btnClearOutMemo = Button(client, "btnClearOutMemo", tr("Clear"), {344, 64, 41, 25});
    lblOriginName = Caption(client, "lblOriginName", tr("Origin:"), {16, 128});
    lblOrigin = Label(client, "lblOrigin", QString(), {56, 128, 137, 13});
    lblTimeName = Caption(client, "lblTimeName", tr("Time:"), {224, 128});
    lblTime = Label(client, "lblTime", QString(), {256, 128, 81, 13});
    memoInMemo = Memo(client, "memoInMemo", {8, 144, 329, 80});
    memoInMemo->setToolTip(tr("Incoming message"));
    lblIncoming = Caption(client, "lblIncoming", tr("Incoming"), {344, 152});
    btnClearInMemo = Button(client, "btnClearInMemo", tr("Clear"), {344, 176, 41, 25});

    NameForScreenReaders();

    // The incoming area comes before the outgoing one, as the layout was designed.
    setTabOrder(btnSendAll, memoInMemo);
    setTabOrder(memoInMemo, memoOutMemo);
    setTabOrder(memoOutMemo, btnSendOutMemo);
    setTabOrder(btnSendOutMemo, cmbComputers);
    setTabOrder(cmbComputers, btnClearOutMemo);
    setTabOrder(btnClearOutMemo, btnClearInMemo);

    auto* guard = new TMenuShortcutGuard(this);
    for (QWidget* editor :
         {static_cast<QWidget*>(memoOutMemo), static_cast<QWidget*>(memoInMemo),
          static_cast<QWidget*>(cmbComputers), static_cast<QWidget*>(cmbComputers->lineEdit())}) {
        editor->installEventFilter(guard);
    }

    connect(btnSendOutMemo, &QPushButton::clicked, this, &TfrmMain::btnSendOutMemoClick);
    connect(btnSendAll, &QPushButton::clicked, this, &TfrmMain::btnSendAllClick);
    connect(btnClearOutMemo, &QPushButton::clicked, this, &TfrmMain::btnClearOutMemoClick);
    connect(btnClearInMemo, &QPushButton::clicked, this, &TfrmMain::btnClearInMemoClick);
}

void TfrmMain::NameForScreenReaders() {
    // A button is read by its caption; the areas and the list have no caption of their own.
    memoOutMemo->setAccessibleName(tr("Outgoing message"));
    memoInMemo->setAccessibleName(tr("Incoming message"));
    memoInMemo->setAccessibleDescription(
        tr("The last message received; its sender and time are shown above it"));
    cmbComputers->setAccessibleName(tr("Available Computers"));
    cmbComputers->setAccessibleDescription(
        tr("The computer Send Message to sends to: pick one or type its name"));
    // Two buttons say "Clear": the name and the tooltip say which area each one clears, in full where a
    // language shortens the caption to fit.
    btnClearOutMemo->setAccessibleName(tr("Clear outgoing message"));
    btnClearOutMemo->setToolTip(btnClearOutMemo->accessibleName());
    btnClearInMemo->setAccessibleName(tr("Clear incoming message"));
    btnClearInMemo->setToolTip(btnClearInMemo->accessibleName());
}

void TfrmMain::BuildMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName("MainMenu1");
    mnuMessage = MainMenu1->addMenu(tr("&Message"));
    mnuMessage->setObjectName("mnuMessage");
    mnuSendTo = mnuMessage->addAction(tr("&Send To"));
    mnuSendTo->setShortcut(QKeySequence(Qt::Key_Insert));
    mnuSendAll = mnuMessage->addAction(tr("Send Anyone"));
    mnuSendAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    mnuHistory = mnuMessage->addAction(tr("&History"));
    mnuHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    mnuMessage->addSeparator();
    mnuExit = mnuMessage->addAction(tr("&Exit"));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuOptions = MainMenu1->addAction(tr("&Options"));
    mnuAbout = MainMenu1->addAction(tr("&About"));
    for (QAction* action : {mnuSendTo, mnuSendAll, mnuHistory, mnuExit}) {
        // Window-wide, so the keys work wherever the focus is inside the window.
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    mnuSendTo->setObjectName("mnuSendTo");
    mnuSendAll->setObjectName("mnuSendAll");
    mnuHistory->setObjectName("mnuHistory");
    mnuExit->setObjectName("mnuExit");
    mnuOptions->setObjectName("mnuOptions");
    mnuAbout->setObjectName("mnuAbout");
    connect(mnuSendTo, &QAction::triggered, this, &TfrmMain::btnSendOutMemoClick);
    connect(mnuSendAll, &QAction::triggered, this, &TfrmMain::btnSendAllClick);
    connect(mnuHistory, &QAction::triggered, this, &TfrmMain::mnuHistoryClick);
    connect(mnuExit, &QAction::triggered, this, &TfrmMain::mnuExitClick);
    connect(mnuOptions, &QAction::triggered, this, &TfrmMain::mnuOptionsClick);
    connect(mnuAbout, &QAction::triggered, this, &TfrmMain::mnuAboutClick);
}
