// The Options dialog over a main window on the simulated LAN with its entry in a temporary autostart folder,
// and where the dialogs go over the main window.
#include <QCheckBox>
#include <QPushButton>

#include "DesktopEntry.h"
#include "DialogPlacement.h"
#include "MainWindowHarness.h"
#include "XdgAutostart.h"
#include "uniOptions.h"

namespace {

// Blanks, and longer than the 256 bytes an entry was once read into.
const std::string ProgramPath = "/opt/Kestrin Chat/" + std::string(300, 'k') + "/kestrin";
const QByteArray OldEntry = "Exec=/old/kestrin";
const QByteArray None = "<none>";

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : None;
}

class TThrowingStartup final : public TStartupRegistration {
public:
    void Register(const std::string&) override { throw std::runtime_error("registry gone"); }
    void Unregister() override { throw std::runtime_error("registry gone"); }
    bool IsRegistered() override { throw std::runtime_error("registry gone"); }
};

/// A main window (not shown), and an autostart folder holding an old entry of ours.
class TOptionsHarness : public TMainWindowHarness {
public:
    TOptionsHarness() {
        Open();
        QFile file(Startup.EntryPath());
        Ready = file.open(QIODevice::WriteOnly) && file.write(OldEntry) == OldEntry.size();
    }

    /// A fresh dialog, shown and active, as each opening from the menu gives one.
    TfrmOptions& Show(TStartupRegistration* startup = nullptr) {
        Dialog = std::make_unique<TfrmOptions>(Window.get(), startup ? *startup : Startup,
                                               [] { return ProgramPath; });
        Dialog->show();
        Ready = QTest::qWaitForWindowActive(Dialog.get()) && Ready;
        return *Dialog;
    }

    QTemporaryDir AutostartDir;
    TXdgAutostart Startup{AutostartDir.path()};
    bool Ready = false;  // the old entry written, and each dialog active when shown
    std::unique_ptr<TfrmOptions> Dialog;
};

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void centresDialogsOverTheMainWindow() {
        // Halves truncate toward zero, so a spare pixel falls right and below; only the top is held.
        const std::tuple<const char*, QRect, QSize, QPoint> rows[] = {
            {"101 wider and higher", {100, 50, 401, 301}, {300, 200}, {150, 100}},
            {"3 narrower", {100, 50, 259, 300}, {262, 151}, {99, 124}},
            {"3 lower: top held", {100, 50, 400, 148}, {262, 151}, {169, 50}},
            {"1 lower", {100, 50, 400, 150}, {262, 151}, {169, 50}},
            {"partly off screen", {-300, -80, 400, 240}, {262, 151}, {-231, -36}},
            {"near the bottom right, not pulled back", {1800, 1000, 500, 400}, {288, 207}, {1906, 1096}}};
        for (const auto& [name, main, dialog, place] : rows) {
            QVERIFY2(CentredOver(main, dialog) == place, name);
        }
    }

    // Pop-up is switched off and Startup set, then the dialog is left: saved, discarded, or still open.
    void eachWayOut_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("startup");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("click Ok, Startup unchanged: entry rewritten") << "Ok" << true << "saved";
        QTest::newRow("Enter right after opening") << "Enter" << false << "saved";
        QTest::newRow("click Close") << "Close" << false << "discarded";
        QTest::newRow("close box") << "close-box" << false << "discarded";
        QTest::newRow("Enter on Close") << "Tab Tab Tab Enter" << false << "discarded";
        QTest::newRow("Esc") << "Esc" << false << "open";
    }

    void eachWayOut() {
        QFETCH(QString, keys);
        QFETCH(bool, startup);
        QFETCH(QString, outcome);
        TOptionsHarness harness;
        PopUp = true;
        TfrmOptions& dialog = harness.Show();
        QVERIFY(harness.Ready);
        QVERIFY(dialog.cbPopUp->isChecked() && dialog.cbStartup->isChecked());
        dialog.cbPopUp->setChecked(false);
        dialog.cbStartup->setChecked(startup);
        for (const QString& key : keys.split(' ')) {
            if (key == "Ok" || key == "Close") {
                QTest::mouseClick(key == "Ok" ? dialog.btnOk : dialog.btnClose, Qt::LeftButton);
            } else if (key == "close-box") {
                dialog.close();
            } else {
                const auto code = key == "Tab"     ? Qt::Key_Tab
                                  : key == "Enter" ? Qt::Key_Return
                                                   : Qt::Key_Escape;
                QTest::keyClick(QApplication::focusWidget(), code);
            }
        }
        const bool saved = outcome == "saved";
        QCOMPARE(dialog.isVisible(), outcome == "open");
        QCOMPARE(PopUp, !saved);
        QCOMPARE(Contents(harness.Path), saved ? QByteArray("[General]\nPopUp=0\n") : None);
        const QByteArray entry = QByteArray::fromStdString(DesktopEntryText(ProgramPath));
        QCOMPARE(Contents(harness.Startup.EntryPath()), !saved ? OldEntry : startup ? entry : None);
        TfrmOptions& again = harness.Show();
        QCOMPARE(again.cbPopUp->isChecked(), !saved);
        QCOMPARE(again.cbStartup->isChecked(), !saved || startup);  // a long entry counts too
        QVERIFY(harness.Messages.isEmpty());
    }

    void registryFailuresAreReportedAndOkStillSavesAndCloses() {
        TOptionsHarness harness;
        TThrowingStartup failing;
        for (const bool startup : {true, false}) {
            harness.Messages.clear();
            TfrmOptions& dialog = harness.Show(&failing);
            QCOMPARE(LayoutProblems(dialog).join(" "), QString());
            QVERIFY(!dialog.cbStartup->isChecked());
            dialog.cbStartup->setChecked(startup);
            dialog.btnOk->click();
            QCOMPARE(harness.Messages, QStringList({"message: Error in TfrmOptions.CheckLoadAtStartup",
                                                    "message: Error in TfrmOptions.LoadAtStartup"}));
            QVERIFY(!dialog.isVisible());
            QVERIFY(Contents(harness.Path) != None);
        }
    }
};

QTEST_MAIN(OptionsDialogTest)

#include "OptionsDialogTest.moc"
