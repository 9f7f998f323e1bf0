// The main window on the simulated LAN: sending, arrivals, the list of computers, failures, and leaving.
#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QDir>
#include <csignal>

#include "KestrinApplication.h"
#include "MainWindowHarness.h"
#include "ShutdownSignals.h"
#include "uniMessenger.h"

namespace {

TStringList MemoLinesOf(const TMemoryDatagram& datagram) {
    const auto header = MessageText::ReadHeader(MessageText::Split(datagram.Bytes));
    return header ? header->MsgLines : TStringList{"<not a message>"};
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void sendsToTheTypedComputerOrToAll() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        window.memoOutMemo->setPlainText("Lunch at one?");

        window.cmbComputers->setEditText("");
        window.btnSendOutMemo->click();
        window.cmbComputers->setEditText("*");  // refused by the messenger: nothing goes out
        window.btnSendOutMemo->click();
        window.cmbComputers->setEditText("  ");  // blanks are a name like any other
        window.btnSendOutMemo->click();
        window.cmbComputers->setEditText("WS02");
        window.btnSendOutMemo->click();
        window.btnSendAll->click();

        const auto memos = harness.Sent("MEMO_MSG");
        QCOMPARE(memos.size(), std::size_t{4});
        QCOMPARE(memos[0].Path, std::string("\\\\*\\mailslot\\MB303"));
        QCOMPARE(memos[1].Path, std::string("\\\\  \\mailslot\\MB303"));
        QCOMPARE(memos[2].Path, std::string("\\\\WS02\\mailslot\\MB303"));
        QCOMPARE(memos[3].Path, std::string("\\\\*\\mailslot\\MB303"));
        QCOMPARE(MemoLinesOf(memos[2]), TStringList{"Lunch at one?"});
        QCOMPARE(window.memoOutMemo->toPlainText(), QString("Lunch at one?"));  // sending keeps the text

        window.memoOutMemo->clear();
        window.btnSendAll->click();
        QCOMPARE(MemoLinesOf(harness.Sent("MEMO_MSG").back()), TStringList{});  // an empty memo still goes
    }

    void insertKeysSendWhileTyping() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.cmbComputers->setEditText("WS02");
        window.memoOutMemo->setFocus();
        QTest::keyClicks(window.memoOutMemo, "hi there");
        QTest::keyClick(window.memoOutMemo, Qt::Key_Insert);
        QTest::keyClick(window.memoOutMemo, Qt::Key_Insert, Qt::ControlModifier);
        window.cmbComputers->lineEdit()->setFocus();
        QTest::keyClick(window.cmbComputers->lineEdit(), Qt::Key_Insert, Qt::ControlModifier);

        const auto memos = harness.Sent("MEMO_MSG");
        QCOMPARE(memos.size(), std::size_t{3});
        QCOMPARE(memos[0].Path, std::string("\\\\WS02\\mailslot\\MB303"));
        QCOMPARE(memos[1].Path, std::string("\\\\*\\mailslot\\MB303"));
        QCOMPARE(memos[2].Path, std::string("\\\\*\\mailslot\\MB303"));
        QCOMPARE(MemoLinesOf(memos[0]), TStringList{"hi there"});
        QVERIFY(!window.memoOutMemo->overwriteMode());  // Ins did not switch to overwriting
        QCOMPARE(window.memoOutMemo->toPlainText(), QString("hi there"));
    }

    void sendsWrappedLinesAsDisplayed() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Grow one paragraph word by word until the area shows it on three lines.
        QString paragraph;
        const auto displayedLines = [&window] {
            window.memoOutMemo->document()->documentLayout()->documentSize();
            return window.memoOutMemo->document()->begin().layout()->lineCount();
        };
        for (int word = 0; displayedLines() < 3 && word < 500; ++word) {
            paragraph += (paragraph.isEmpty() ? "" : " ") + QString("word%1").arg(word);
            window.memoOutMemo->setPlainText(paragraph);
        }
        QCOMPARE(displayedLines(), 3);

        window.btnSendAll->click();
        window.memoOutMemo->setPlainText(paragraph + "\n");
        window.btnSendAll->click();
        const auto memos = harness.Sent("MEMO_MSG");
        QCOMPARE(memos.size(), std::size_t{2});
        for (const auto& memo : memos) {
            const TStringList lines = MemoLinesOf(memo);
            QCOMPARE(lines.size(), std::size_t{3});  // no fourth, empty line for the trailing break
            QCOMPARE(QString::fromStdString(lines[0] + lines[1] + lines[2]), paragraph);
        }
    }

    void showsArrivalsAsPlainTextAndPopsUpOnlyWhenAsked() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        window.showMinimized();
        PopUp = false;
        harness.DeliverMemo("<b>x</b>", "14:06:30", {"Lunch at one?", "", "See you."});
        QTRY_COMPARE(window.lblOrigin->text(), QString("<b>x</b>"));
        QCOMPARE(window.lblOrigin->textFormat(), Qt::PlainText);
        QCOMPARE(window.lblTime->text(), QString("14:06:30"));
        QCOMPARE(window.memoInMemo->toPlainText(), QString("Lunch at one?\n\nSee you."));
        QVERIFY(window.isMinimized());

        PopUp = true;
        harness.Deliver("LINE_MSG\r\n14:07:12\r\nWS02\r\nMeeting moved\r\n");
        QTRY_COMPARE(window.memoInMemo->toPlainText(), QString("Meeting moved"));
        QVERIFY(!window.isMinimized());

        // A memo after a line message replaces it, labels included.
        harness.DeliverMemo("WS03", "14:08:00", {"only this"});
        QTRY_COMPARE(window.memoInMemo->toPlainText(), QString("only this"));
        QCOMPARE(window.lblOrigin->text(), QString("WS03"));
        QCOMPARE(window.lblTime->text(), QString("14:08:00"));
    }

    void listChangesKeepTheTypedName() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        window.cmbComputers->setEditText("WS09");
        harness.Deliver("COMMAND_MSG\r\n1\r\nWS02\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
        QTRY_COMPARE(window.cmbComputers->count(), 1);
        QCOMPARE(window.cmbComputers->itemText(0), QString("WS02"));
        QCOMPARE(window.cmbComputers->currentText(), QString("WS09"));
        harness.Deliver("COMMAND_MSG\r\n1\r\nWS02\r\nOFFLINE_NOTIFY\r\nEND_MESSAGE\r\n");
        QTRY_COMPARE(window.cmbComputers->count(), 0);
        QCOMPARE(window.cmbComputers->currentText(), QString("WS09"));
        QVERIFY(!harness.Sent("ONLINE_RESPONSE").empty());  // the announcer was answered
    }

    void defaultErrorDisplayAddsAFullStop() {
        QCOMPARE(WithFullStop("Disk full"), QString("Disk full."));
        QCOMPARE(WithFullStop("Code 7"), QString("Code 7."));
        QCOMPARE(WithFullStop("Really?"), QString("Really?."));
        QCOMPARE(WithFullStop("Done."), QString("Done."));
        QCOMPARE(WithFullStop("Stop!"), QString("Stop!"));
        QCOMPARE(WithFullStop("(see above)"), QString("(see above)"));
        QCOMPARE(WithFullStop("trailing "), QString("trailing "));
        QCOMPARE(WithFullStop(""), QString(""));

        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        QObject::connect(window.btnClearInMemo, &QPushButton::clicked, [] { throw std::runtime_error("Boom"); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.btnClearInMemo, Qt::LeftButton);  // Qt dispatches the failing handler
        QTRY_COMPARE(harness.Messages, QStringList{"error: Boom."});
        QVERIFY(window.isEnabled());
    }

    void loadsAndSavesThePopUpFlag() {
        const struct {
            const char* Stored;
            bool PopUp;
        } table[] = {{"0", false},     {"00", false},   {"\" 0\"", false}, {"-0", false}, {"0x0", false},
                     {"0X0", false},   {"$0", false},   {"1", true},       {"2", true},   {"-1", true},
                     {"0x1", true},    {"$ff", true},   {"yes", true},     {"false", true}, {"0x", true},
                     {"", true}};
        int row = 0;
        for (const auto& entry : table) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QString("row%1.conf").arg(row++));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("[General]\nPopUp=") + entry.Stored + "\n[Network]\nPort=138\n");
            file.close();
            TMainWindowHarness harness(path);
            PopUp = !entry.PopUp;
            harness.Open();
            QVERIFY2(PopUp == entry.PopUp, entry.Stored);
            QVERIFY(harness.Messages.isEmpty());
        }

        TMainWindowHarness harness;
        harness.Open();
        QVERIFY(PopUp);  // nothing stored reads as true
        PopUp = false;
        harness.Window->SaveAll();
        QFile saved(harness.Path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("[General]\nPopUp=0\n"));
    }

    void reportsASettingsFileThatCannotBeUsed() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("a-folder.conf"));
        TMainWindowHarness unreadable(dir.filePath("a-folder.conf"));
        PopUp = false;
        unreadable.Open();
        QCOMPARE(unreadable.Messages, QStringList{"message: Error in TfrmMain.LoadAll"});
        QVERIFY(!PopUp);  // left as it was

        QFile blocker(dir.filePath("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TMainWindowHarness unwritable(dir.filePath("not-a-folder/Kestrin.conf"));
        unwritable.Open();
        unwritable.Messages.clear();
        PopUp = true;
        unwritable.Window->SaveAll();
        QCOMPARE(unwritable.Messages, QStringList{"message: Error in TfrmMain.SaveAll"});
        QVERIFY(PopUp);
    }

    void leavesWithExactlyOneOfflineNotice_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box") << "close";
        QTest::newRow("Ctrl+Q") << "ctrl+q";
        QTest::newRow("SIGTERM") << "sigterm";
    }

    void leavesWithExactlyOneOfflineNotice() {
        QFETCH(QString, how);
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        CloseOnShutdownSignals(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (how == "close") {
            window.close();
        } else if (how == "ctrl+q") {
            QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
        } else {
            std::raise(SIGTERM);
        }
        harness.Shutdown();
        QCOMPARE(harness.Sent("OFFLINE_NOTIFY").size(), std::size_t{1});
        QCOMPARE(harness.Sent("ONLINE_NOTIFY").size(), std::size_t{1});
    }

    void aSecondCopyStaysQuiet() {
        TMainWindowHarness harness;
        const auto taken = harness.Own.CreateMailslot("\\\\.\\mailslot\\MB303", 0, 0);
        TfrmMain& window = harness.Open();
        window.memoOutMemo->setPlainText("still sends");
        window.btnSendAll->click();
        window.close();
        harness.Shutdown();
        QVERIFY(harness.Messages.isEmpty());
        QVERIFY(harness.Sent("ONLINE_NOTIFY").empty());
        QVERIFY(harness.Sent("OFFLINE_NOTIFY").empty());
        QCOMPARE(harness.Sent("MEMO_MSG").size(), std::size_t{1});
        harness.Own.CloseHandle(taken);
    }

    void laysOutEveryControlAsDesigned() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        QCOMPARE(window.windowTitle(), QString("Kestrin v1.0"));
        QCOMPARE(window.centralWidget()->size(), QSize(393, 232));
        QCOMPARE(window.btnSendOutMemo->geometry(), QRect(8, 2, 97, 22));
        QCOMPARE(window.cmbComputers->geometry(), QRect(112, 2, 145, 21));
        QCOMPARE(window.btnSendAll->geometry(), QRect(264, 2, 73, 22));
        QCOMPARE(window.memoOutMemo->geometry(), QRect(8, 32, 329, 80));
        QCOMPARE(window.memoInMemo->geometry(), QRect(8, 144, 329, 80));
        QCOMPARE(window.lblOrigin->geometry(), QRect(56, 128, 137, 13));
        QCOMPARE(window.lblTime->geometry(), QRect(256, 128, 81, 13));
        QCOMPARE(window.btnSendOutMemo->toolTip(), QString("Send message to computer [INS]"));
        QCOMPARE(window.mnuSendTo->shortcut(), QKeySequence(Qt::Key_Insert));
        QCOMPARE(window.mnuSendAll->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
        QCOMPARE(window.mnuExit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        // Every caption fits its control in the font this desktop has.
        for (QPushButton* button : {window.btnSendOutMemo, window.btnSendAll, window.btnClearOutMemo}) {
            // Two pixels of frame on either side; the text needs the rest.
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 2 <= button->width() - 2,
                     qPrintable(button->text()));
        }
        for (QLabel* label : {window.lblOutgoing, window.lblIncoming, window.lblOriginName, window.lblTimeName}) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
            QVERIFY2(label->geometry().right() < 393, qPrintable(label->text()));
        }
        // Tab order: the send-all button first, the incoming area before the outgoing one.
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.btnSendAll));
        const QList<QWidget*> order{window.memoInMemo,   window.memoOutMemo,     window.btnSendOutMemo,
                                    window.cmbComputers, window.btnClearOutMemo, window.btnClearInMemo,
                                    window.btnSendAll};
        for (QWidget* expected : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
    }
};

int main(int argc, char** argv) {
    TKestrinApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
