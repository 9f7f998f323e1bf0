// The desktop program's history: kept before shown, the History window's search, filter and Reply, unread
// memos.
#include <QFont>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTreeView>

#include "app/ArrivalBurst.h"
#include "app/KestrinApplication.h"
#include "history/HistoryStore.h"
#include "tests/app/MainWindowHarness.h"
#include "tests/support/KeyboardRound.h"

namespace {

std::string Memo(const std::string& origin, const std::string& text) {
    return "MEMO_MSG\r\n09:15:00\r\n" + origin + "\r\nBEGIN_MEMO\r\n" + text + "\r\nEND_MESSAGE\r\n";
}

/// "direction computer: text" of the newest entries, as another process reading the file finds them.
QStringList OnDisk(const std::filesystem::path& path, int limit = 10) {
    THistoryStore reader(path, THistoryAccess::Read);
    QStringList found;
    for (const THistoryEntry& entry : reader.Recent(limit).Entries) {
        found << QString("%1 %2: %3")
                     .arg(entry.Direction == THistoryDirection::Sent ? "to" : "from",
                          QString::fromStdString(entry.Computer), QString::fromStdString(entry.Text));
    }
    return found;
}

// The controls of the History window the main window has open, found by name; the test ends when it has none
// open.
struct THistoryUi {
    explicit THistoryUi(QWidget& window) : History(*Named<QWidget>(window, "frmHistory")) {
        if (!History.isVisible())
            qFatal("The History window is not open");
    }
    QWidget& History;
    QLineEdit* edtSearch = Named<QLineEdit>(History, "edtSearch");
    QComboBox* cmbComputer = Named<QComboBox>(History, "cmbComputer");
    QTreeView* lstMemos = Named<QTreeView>(History, "lstMemos");
    QWidget* memoText = Named<QWidget>(History, "memoText");
    QPushButton* btnReply = Named<QPushButton>(History, "btnReply");

    /// "computer: first line" of each row, top to bottom.
    QStringList Listed() const {
        QStringList rows;
        for (int row = 0; row < lstMemos->model()->rowCount(); ++row)
            rows << lstMemos->model()->index(row, 0).data().toString() + ": " +
                        lstMemos->model()->index(row, 2).data().toString();
        return rows;
    }
    bool Bold(int row) const {
        return lstMemos->model()->index(row, 0).data(Qt::FontRole).value<QFont>().bold();
    }
    void Select(int row) const { lstMemos->setCurrentIndex(lstMemos->model()->index(row, 0)); }
};

}  // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every memo shown is already in the file another process reads; what is sent is kept too, what is
    // refused not. Ctrl+H from the outgoing area; newest first; search as you type, in Cyrillic too; the
    // computer filter; Reply to a listed computer (its item) and to one that is not (its name typed).
    void keepsListsSearchesFiltersAndRepliesToAMemosComputer() {
        TMainWindowHarness harness;
        harness.KeepHistory();
        TfrmMain& window = harness.Open(*TWireText::ForName("windows-1251"));
        const TMainWindowUi ui{window};
        QStringList shownButNotKept;
        QObject::connect(ui.memoInMemo, &QTextEdit::textChanged, [&] {
            const QString text = ui.memoInMemo->toPlainText();
            if (!text.isEmpty() && OnDisk(harness.HistoryPath).filter(": " + text).isEmpty())
                shownButNotKept << text;
        });
        harness.Deliver("COMMAND_MSG\r\n1\r\nBORIS-PC\r\nONLINE_NOTIFY\r\nEND_MESSAGE\r\n");
        for (const std::string& memo :
             {Memo("ANNA-PC", "Lunch at noon?"),
              std::string("LINE_MSG\r\n09:16:00\r\nBORIS-PC\r\nPrinter is out of paper\r\n"),
              Memo("ANNA-PC", "Lunch moved\r\nto 1 pm"),
              Memo("CAROL-PC", "\xcf\xf0\xe8\xe2\xe5\xf2, \xee\xe1\xe5\xe4?")})
            harness.Deliver(memo);
        QTRY_COMPARE(ui.memoInMemo->toPlainText(), QString("Привет, обед?"));
        QCOMPARE(shownButNotKept, QStringList{});
        QTRY_COMPARE(ui.cmbComputers->count(), 1);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ui.memoOutMemo->setFocus();
        QTest::keyClick(ui.memoOutMemo, Qt::Key_H, Qt::ControlModifier);
        const THistoryUi found{window};
        const QStringList all{"CAROL-PC: Привет, обед?", "ANNA-PC: Lunch moved",
                              "BORIS-PC: Printer is out of paper", "ANNA-PC: Lunch at noon?"};
        // typed into the search box, the computer filter, what is listed
        const std::tuple<QString, QString, QStringList> rows[] = {
            {"", "", all},          {"lunch", "", {all[1], all[3]}},   {"LUNCH NOON", "", {all[3]}},
            {"обед", "", {all[0]}}, {"", "ANNA-PC", {all[1], all[3]}}, {"paper", "ANNA-PC", {}},
            {"", "", all}};
        for (const auto& [typed, computer, listed] : rows) {
            found.edtSearch->clear();
            found.edtSearch->insert(typed);  // as typed: QTest types Latin-1 only
            found.cmbComputer->setEditText(computer);
            QCOMPARE(found.Listed(), listed);
        }
        QVERIFY(found.cmbComputer->findText("CAROL-PC") >= 0 && found.cmbComputer->findText("BORIS-PC") >= 0);
        found.Select(1);
        QCOMPARE(found.memoText->property("plainText").toString(), QString("Lunch moved\nto 1 pm"));
        // Reply: to the unlisted ANNA-PC by her name, then to BORIS-PC, who is in the list, as its item.
        for (const auto& [row, target] : {std::pair{1, "ANNA-PC"}, std::pair{2, "BORIS-PC"}}) {
            found.Select(row);
            ui.cmbComputers->setEditText("someone else");
            ui.btnSendAll->setFocus();  // where the main window's focus returns to unless Reply moves it
            found.btnReply->click();
            QTRY_VERIFY(window.isActiveWindow());
            QCOMPARE(ui.cmbComputers->currentText(), QString(target));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ui.memoOutMemo));
            QTest::keyClicks(ui.memoOutMemo, "ok");
            QTest::keyClick(ui.memoOutMemo, Qt::Key_Insert);
            ui.memoOutMemo->clear();
        }
        QCOMPARE(harness.SentTo("BEGIN_MEMO\r\nok\r\n"), QStringList({"ANNA-PC", "BORIS-PC"}));
        ui.memoOutMemo->setPlainText("Yes\nsee you");
        for (const char* target : {"", "*"}) {  // "*" is refused by the messenger, so it is not kept
            ui.cmbComputers->setEditText(target);
            ui.btnSendOutMemo->click();
        }
        // The memo to all comes back to this computer too, as it does on the network.
        QTRY_COMPARE(OnDisk(harness.HistoryPath, 5),
                     QStringList({"from WS01: Yes\nsee you", "to *: Yes\nsee you", "to BORIS-PC: ok",
                                  "to ANNA-PC: ok", "from CAROL-PC: Привет, обед?"}));
    }

    // Unread while another window is active, in the tray's tooltip and in bold in the History window, until
    // opened there or seen in the main window; memos that come while the main window is active are never
    // unread.
    void countsMemosUnreadUntilOpenedInHistoryOrSeenInTheWindow() {
        TMainWindowHarness harness;
        harness.KeepHistory();
        harness.Desktop.Tray = true;
        TfrmMain& window = harness.Open();
        const TMainWindowUi ui{window};
        auto* const tray = Named<QSystemTrayIcon>(window, "trayIcon");
        QWidget other;
        window.show();
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        harness.Deliver(Memo("ANNA-PC", "one"));
        harness.Deliver(Memo("BORIS-PC", "two"));
        harness.Deliver(Memo("ANNA-PC", "three"));
        QTRY_COMPARE(tray->toolTip(), QString("Kestrin: 3 unread memos"));
        window.findChild<QAction*>("mnuHistory")->trigger();
        const THistoryUi found{window};
        QCOMPARE(found.Listed(), QStringList({"ANNA-PC: three", "BORIS-PC: two", "ANNA-PC: one"}));
        found.Select(1);
        QCOMPARE(tray->toolTip(), QString("Kestrin: 2 unread memos"));
        QCOMPARE((QList<bool>{found.Bold(0), found.Bold(1), found.Bold(2)}),
                 (QList<bool>{true, false, true}));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(tray->toolTip(), QString("Kestrin"));
        QCOMPARE(found.Bold(0) || found.Bold(2), false);
        harness.Deliver(Memo("ANNA-PC", "seen at once"));
        QTRY_COMPARE(ui.memoInMemo->toPlainText(), QString("seen at once"));
        QCOMPARE(tray->toolTip(), QString("Kestrin"));
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        harness.Deliver(Memo("BORIS-PC", "later"));
        QTRY_COMPARE(tray->toolTip(), QString("Kestrin: 1 unread memo"));
        QTRY_COMPARE(found.Listed().first(), QString("BORIS-PC: later"));  // an open History takes it in
        QCOMPARE(found.Bold(0), true);
    }

    // Tab reaches every control of both windows, each with a name a screen reader says in the window's
    // language, and every caption of the main window fits, in English, Russian and German.
    void bothWindowsAreReachedNamedAndFitInEachLanguage() {
        TSpokenNames spoken;
        InEachLanguage([&spoken](const QString& language) {
            TMainWindowHarness harness;
            harness.KeepHistory();
            // The memo leaves the main window hidden, so that the History window is the active one first.
            harness.Settings.WritePopUp("0");
            TfrmMain& window = harness.Open();
            harness.Deliver(Memo("ANNA-PC", "one"));
            QTRY_COMPARE(TMainWindowUi{window}.memoInMemo->toPlainText(), QString("one"));
            QStringList order;
            window.findChild<QAction*>("mnuHistory")->trigger();
            const THistoryUi history{window};
            history.Select(0);
            spoken.Walk(history.History, language, order);
            history.History.close();
            window.show();
            spoken.Walk(window, language, order);
            QCOMPARE(order, QStringList({"edtSearch", "cmbComputer", "lstMemos", "memoText", "btnReply",
                                         "btnSendAll", "memoInMemo", "memoOutMemo", "btnSendOutMemo",
                                         "cmbComputers", "btnClearOutMemo", "btnClearInMemo"}));
            // The English captions are the fixed ones, which the stand-in font fills to the last pixel.
            const QStringList overflowing = Overflowing(window);
            QVERIFY2(language == "en" || overflowing.isEmpty(),
                     qPrintable(language + ": " + overflowing.join(", ")));
        });
    }

    // What a notification of a burst says: how many and from whom, each computer once, the first few.
    void summarisesABurstByCountAndComputers() {
        const std::pair<QStringList, QString> rows[] = {
            {{"ANNA-PC"}, "Kestrin: memo from ANNA-PC"},
            {{"ANNA-PC", "BORIS-PC", "ANNA-PC"}, "Kestrin: 3 memos from ANNA-PC, BORIS-PC"},
            {{"A", "B", "C", "D", "E", "A"}, "Kestrin: 6 memos from A, B, C, D, \u2026"}};
        for (const auto& [origins, summary] : rows) {
            TArrivalBurst burst;
            for (const QString& origin : origins)
                burst.Add(TArrival{{{}, {}, origin}, {}, {}, {}, {}, true, {}});
            QCOMPARE(burst.Summary(), summary);
        }
    }
};

int main(int argc, char** argv) {
    TKestrinApplication app(argc, argv);
    HistoryWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HistoryWindowTest.moc"
