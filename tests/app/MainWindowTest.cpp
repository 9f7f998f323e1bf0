// The main window on the simulated LAN: sending, arrivals, the list of computers, failures, menus, leaving.
#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "app/DesktopCommandLine.h"
#include "app/KestrinApplication.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/ProcessEnd.h"

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The Ins keys, the targets (exactly the typed name, not a listed one it begins), and the lines a memo is
    // made of. (The tab order is walked in each language with the History window's.)
    void sendsWhatIsTypedOrWrappedToTheTypedComputerOrToAll() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        const TMainWindowUi ui{window};
        harness.Deliver("COMMAND_MSG\r\n1\r\nWS020\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
        QTRY_COMPARE(ui.cmbComputers->count(), 1);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ui.cmbComputers->lineEdit()->setFocus();
        QTest::keyClicks(ui.cmbComputers->lineEdit(), "WS02");
        ui.memoOutMemo->setFocus();
        QTest::keyClicks(ui.memoOutMemo, "hi there");
        QTest::keyClick(ui.memoOutMemo, Qt::Key_Insert);
        QTest::keyClick(ui.memoOutMemo, Qt::Key_Insert, Qt::ControlModifier);
        ui.cmbComputers->lineEdit()->setFocus();
        QTest::keyClick(ui.cmbComputers->lineEdit(), Qt::Key_Insert, Qt::ControlModifier);
        QVERIFY(!ui.memoOutMemo->overwriteMode());   // Ins did not go to the editor
        for (const char* typed : {"", "*", "  "}) {  // "*" is refused; blanks are a name like any other
            ui.cmbComputers->setEditText(typed);
            ui.btnSendOutMemo->click();
        }
        ui.memoOutMemo->clear();
        ui.btnSendAll->click();
        QCOMPARE(harness.SentTo("BEGIN_MEMO\r\nhi there\r\nEND"), QStringList({"WS02", "*", "*", "*", "  "}));
        QCOMPARE(harness.SentTo("BEGIN_MEMO\r\nEND"), QStringList{"*"});  // an empty memo still goes
        const auto shown = [&ui] {  // the lines the area shows its first paragraph on
            ui.memoOutMemo->document()->documentLayout()->documentSize();  // lays the text out now
            return ui.memoOutMemo->document()->begin().layout();
        };
        QString paragraph;  // grown word by word until the area shows it on three lines
        for (int word = 0; word < 500 && shown()->lineCount() < 3; ++word) {
            paragraph += QString(" word%1").arg(word);
            ui.memoOutMemo->setPlainText(paragraph);
        }
        QCOMPARE(shown()->lineCount(), 3);
        QString memo = "BEGIN_MEMO\r\n";
        for (int line = 0; line < 3; ++line)
            memo +=
                paragraph.mid(shown()->lineAt(line).textStart(), shown()->lineAt(line).textLength()) + "\r\n";
        ui.btnSendAll->click();
        ui.memoOutMemo->setPlainText(paragraph + "\n");  // no fourth, empty line for the trailing break
        ui.btnSendAll->click();
        QCOMPARE(harness.SentTo((memo + "END").toStdString()), QStringList({"*", "*"}));
    }

    // In an office whose code page is windows-1252. Control characters, overrides and a long origin are shown
    // visibly and in their place.
    void showsArrivalsKeepsTheTypedNameOverListChangesAndSendsToAListedNameAtItsBytes() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open(*TWireText::ForName("windows-1252"));
        const TMainWindowUi ui{window};
        const QRect place = ui.lblOrigin->geometry();
        window.showMinimized();
        ui.cmbComputers->setEditText("WS09");
        harness.PopUp = false;
        harness.Deliver("MEMO_MSG\r\n1\x1b[2J\r\n<b>\x1b]0;T\x07" + std::string(60000, 'A') +
                        "\r\nBEGIN_MEMO\r\nLunch?\r\n\r\nabc\xe2\x80\xae"
                        "def\r\nEND_MESSAGE\r\n");
        QTRY_COMPARE(ui.memoInMemo->toPlainText(), QString("Lunch?\n\nabc<U+202E>def"));
        const QString origin = ui.lblOrigin->text();
        QVERIFY2(origin.startsWith("<b>^[]0;T^GAAA") && origin.endsWith(u'\u2026'), qPrintable(origin));
        QCOMPARE(ui.lblTime->text() + ui.lblOrigin->toolTip().left(14), QString("1^[[2J<b>^[]0;T^GAAA"));
        QCOMPARE(ui.lblOrigin->textFormat(), Qt::PlainText);
        QVERIFY(ui.lblOrigin->sizeHint().width() <= place.width() && ui.lblOrigin->geometry() == place);
        QVERIFY(window.isMinimized());
        harness.PopUp = true;
        harness.Deliver("COMMAND_MSG\r\n1\r\nWS02\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
        harness.Deliver("LINE_MSG\r\n14:07:12\r\nWS02\r\nMeeting moved\r\n");
        QTRY_COMPARE(ui.memoInMemo->toPlainText(), QString("Meeting moved"));
        QVERIFY(!window.isMinimized());
        QTRY_COMPARE(ui.cmbComputers->count(), 1);
        QCOMPARE(ui.cmbComputers->itemText(0) + ui.cmbComputers->currentText(), QString("WS02WS09"));
        harness.Deliver("COMMAND_MSG\r\n1\r\nWS02\r\nOFFLINE_NOTIFY\r\nEND_MESSAGE\r\n");
        QTRY_COMPARE(ui.cmbComputers->count(), 0);
        QCOMPARE(ui.cmbComputers->currentText(), QString("WS09"));
        // A Linux host's UTF-8 name, and a byte windows-1252 lacks: neither text writes back to its bytes.
        for (const std::string name : {"CAF\xc3\x89", "PC\x81"})
            harness.Deliver("COMMAND_MSG\r\n1\r\n" + name + "\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
        QTRY_COMPARE(ui.cmbComputers->count(), 2);
        QCOMPARE(ui.cmbComputers->itemText(0), QString("CAFÉ"));
        ui.memoOutMemo->setPlainText("picked");
        for (int item : {0, 1}) {
            ui.cmbComputers->setCurrentIndex(item);
            ui.btnSendOutMemo->click();
        }
        ui.cmbComputers->setEditText("BÄR");  // typed: written like any text
        ui.btnSendOutMemo->click();
        // SentTo reads names as UTF-8, so other bytes show otherwise ("CAF\uFFFD", "PC\u0081", "BÄR").
        QCOMPARE(harness.SentTo("BEGIN_MEMO\r\npicked"), QStringList({"CAFÉ", "PC\uFFFD", "B\uFFFDR"}));
    }

    // Other computers take 424 bytes of message text, counted in the office's code page and with the header
    // lines (51 bytes here) and every CR LF: 22 lines of Cyrillic letters are 424 bytes in windows-1251, 753
    // in UTF-8. (The LAN tests send one byte more, and a long memo to this computer.)
    void refusesAMemoOtherComputersCannotTakeInTheMessageBoxAndKeepsIt() {
        const QString memo = QStringList(21, QString(15, u'я')).join('\n') + '\n' + QString(14, u'я');
        // code page, the target, the size refused (0: sent)
        const std::tuple<const char*, const char*, int> rows[] = {{"windows-1251", "", 0},
                                                                  {"UTF-8", "WS02", 753}};
        for (const auto& [codePage, target, size] : rows) {
            TMainWindowHarness harness;
            TfrmMain& window = harness.Open(*TWireText::ForName(codePage));
            const TMainWindowUi ui{window};
            ui.memoOutMemo->setPlainText(memo);
            ui.cmbComputers->setEditText(target);
            (*target ? ui.btnSendOutMemo : ui.btnSendAll)->click();
            const QString said =
                "message: The memo is %1 bytes long; a computer on the network takes at most 424.";
            QCOMPARE(harness.Messages, size ? QStringList{said.arg(size)} : QStringList{});
            QCOMPARE(harness.SentTo("BEGIN_MEMO").size(), size ? 0 : 1);
            QCOMPARE(ui.memoOutMemo->toPlainText(), memo);
        }
    }

    void showsFailuresWithAFullStop() {
        // clang-format off
        const std::pair<QString, QString> rows[] = {
            {"Disk full", "Disk full."}, {"Really?", "Really?."}, {"Done.", "Done."}, {"Stop!", "Stop!"}, {"", ""}};
        // clang-format on
        for (const auto& [text, shown] : rows)
            QCOMPARE(WithFullStop(text), shown);
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        const TMainWindowUi ui{window};
        QObject::connect(ui.btnClearInMemo, &QPushButton::clicked, [] { throw std::runtime_error("Boom"); });
        QTest::mouseClick(ui.btnClearInMemo, Qt::LeftButton);  // Qt dispatches the failing handler
        QCOMPARE(harness.Messages, QStringList{"error: Boom."});
    }

    void loadsAndSavesThePopUpFlagOrReportsAFileThatCannotBeUsed() {
        // QSettings takes the quotes off " 0" before the number rules see it; no flag stored means on. A
        // folder in the file's place cannot be read or written: the flag is left as it was, and both are
        // reported.
        const std::tuple<QByteArray, bool, QStringList> rows[] = {
            {"PopUp=\" 0\"\n", false, {}},
            {"PopUp=yes\n", true, {}},
            {"", true, {}},
            {"a folder",
             false,
             {"message: Error in TfrmMain.LoadAll", "message: Error in TfrmMain.SaveAll"}}};
        for (const auto& [stored, popUp, messages] : rows) {
            TMainWindowHarness harness;
            QFile file(harness.Path);
            const bool folder = stored == "a folder";
            QVERIFY(folder ? QDir().mkdir(harness.Path)
                           : file.open(QIODevice::WriteOnly) && file.write("[General]\n" + stored) > 0);
            file.close();
            harness.PopUp = folder ? popUp : !popUp;
            harness.Open().SaveAll();
            QVERIFY2(harness.PopUp == popUp && harness.Messages == messages, stored);
        }
    }

    void menuCommandsShowTheirDialogModallyAndFreeIt() {
        const std::pair<bool, QString> rows[] = {
            {true, "Error of creating Form of Options in  TfrmMain.mnuOptionsClick"},
            {false, "Error of creating Form of About Box"}};
        for (const auto& [options, failure] : rows) {
            TMainWindowHarness harness;
            (options ? harness.Options : harness.About) = [opened = 0](TfrmMain& owner) mutable {
                if (++opened > 1)
                    throw std::runtime_error("no memory");  // the second time
                return std::make_unique<QDialog>(&owner);
            };
            TfrmMain& window = harness.Open();
            const TMainWindowUi ui{window};
            QPointer<QWidget> shown;
            QWidget* owner = nullptr;
            QTimer::singleShot(0, &window, [&] {
                shown = QApplication::activeModalWidget();
                owner = shown ? shown->parentWidget() : nullptr;
                if (shown)
                    shown->close();
            });
            (options ? ui.mnuOptions : ui.mnuAbout)->trigger();
            QCOMPARE(owner, &window);
            QVERIFY(shown.isNull());  // freed as soon as the modal loop ended
            (options ? ui.mnuOptions : ui.mnuAbout)->trigger();
            QCOMPARE(harness.Messages, QStringList{"message: " + failure});
        }
    }

    // Read without a display: Qt's own options pass, help and version end the program, anything else is refused.
    void readsItsCommandLineBeforeAnyDisplay() {
        using enum TDesktopCommand::TAction;
        const std::pair<QStringList, TDesktopCommand::TAction> rows[] = {
            {{}, Run}, {{"-platform", "offscreen", "-style=fusion", "-reverse"}, Run}, {{"--platform", "xcb"}, Run},
            {{"--help"}, Help}, {{"-h"}, Help}, {{"--version"}, Version}, {{"--frobnicate"}, Refused},
            {{"notes.txt"}, Refused}, {{"-platform"}, Refused}, {{"--minimized", "-style=fusion"}, Run},
            {{"-minimized"}, Run}, {{"--minimized=1"}, Refused}};
        for (const auto& [arguments, action] : rows) {
            const auto command = ParseDesktopCommandLine(QStringList{"kestrin"} + arguments);
            QVERIFY2(command.Action == action && command.ExitCode == (action == Refused ? 2 : 0) &&
                         command.Text.contains(action == Version ? "kestrin 1.0.0" : "Usage: kestrin") ==
                             (action != Run) &&
                         command.Minimized == (action == Run && arguments.filter("minimized").size() == 1),
                     qPrintable(arguments.join(' ')));
        }
    }

    // It cannot receive, and says so once, with the reason; it still sends, and has nobody to leave.
    void aSecondCopySaysItReceivesNothing() {
        TMainWindowHarness harness;
        const auto taken = harness.Own.OpenMailbox("MB303");
        harness.Why = "another copy of Kestrin has its mailbox open on this computer (UDP port 138)";
        const TMainWindowUi ui{harness.Open()};
        ui.btnSendAll->click();
        ui.btnSendAll->click();
        QTRY_COMPARE(harness.Messages, QStringList{"message: Could not Create Mail Slot: " + harness.Why +
                                                   ".\nThis window sends, but receives nothing."});
        harness.Window.reset();
        QCOMPARE(harness.SentTo(""), (QStringList{"*", "*"}));  // the memos, with no presence notices
        harness.Own.Close(taken);
    }

    // The session's end (SIGTERM on Linux, WM_ENDSESSION on Windows) says goodbye at once, even while a
    // message box waits for its OK, and ends every loop, the box's too. Last: it ends the event loops for good.
    void leavesWithExactlyOneOfflineNotice() {
        static_cast<TKestrinApplication*>(qApp)->SayGoodbyeAtSessionEnd(SayMainWindowGoodbye);  // over QTest's
        const std::pair<const char*, std::function<void(TfrmMain&)>> ways[] = {
            {"close box", [](TfrmMain& window) { window.close(); }},
            {"Ctrl+Q", [](TfrmMain& window) { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); }},
            {"session end", [](TfrmMain&) {
                 SetMessagePresenter(nullptr);  // a real box, with a loop of its own
                 QTimer::singleShot(100, [] { AskThisProcessToEnd(); });
                 ShowPlainMessage("The memo is 467 bytes long; a computer on the network takes at most 424.");
             }}};
        for (const auto& [how, leave] : ways) {
            TMainWindowHarness harness;
            TfrmMain& window = harness.Open();
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            leave(window);
            const bool ended = static_cast<TKestrinApplication*>(qApp)->SessionEnded();
            QCOMPARE(harness.SentTo("OFFLINE_NOTIFY"), ended ? QStringList{"*"} : QStringList{});
            QTRY_VERIFY2(ended || !window.isVisible(), how);
            harness.Window.reset();
            QCOMPARE(harness.SentTo("OFFLINE_NOTIFY"), QStringList{"*"});
        }
    }
};

int main(int argc, char** argv) {
    TKestrinApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
