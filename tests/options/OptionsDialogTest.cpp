// The Options dialog over a main window on the simulated LAN, its entry in a temporary autostart folder.
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "DialogPlacement.h"
#include "KestrinApplication.h"
#include "MainWindowHarness.h"
#include "XdgAutostart.h"
#include "uniOptions.h"

namespace {

// Blanks, and longer than the 256 bytes an entry was once read into.
const std::string ProgramPath = "/opt/Kestrin Chat/" + std::string(300, 'k') + "/kestrin";
const QByteArray Entry = "[Desktop Entry]\nType=Application\nName=Kestrin\nExec=\"" +
                         QByteArray::fromStdString(ProgramPath) + "\"\n";
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

}  // namespace

/// A main window (not shown) and the autostart folder the dialog works on, holding `entry` unless that is
/// None.
class TOptionsHarness {
public:
    explicit TOptionsHarness(const QByteArray& entry = None, const QString& folder = {})
        : Startup(folder.isEmpty() ? Dir.path() : folder) {
        Main.Open();
        QFile file(Startup.EntryPath());
        if (entry != None && file.open(QIODevice::WriteOnly)) {
            file.write(entry);
        }
    }

    /// A fresh dialog, shown and active, as each opening from the menu gives one.
    TfrmOptions& Show(TStartupRegistration* startup = nullptr) {
        Dialog = std::make_unique<TfrmOptions>(Main.Window.get(), startup ? *startup : Startup,
                                               [] { return ProgramPath; });
        Dialog->show();
        if (!QTest::qWaitForWindowActive(Dialog.get())) {
            qWarning("the dialog did not become active");
        }
        return *Dialog;
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    QByteArray StoredEntry() const { return Contents(Startup.EntryPath()); }
    QByteArray StoredSettings() const { return Contents(Main.Path); }

    TMainWindowHarness Main;
    QTemporaryDir Dir;
    TXdgAutostart Startup;
    std::unique_ptr<TfrmOptions> Dialog;
};

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void laysOutEveryControlAsDesigned() {
        TOptionsHarness harness;
        TfrmOptions& dialog = harness.Show();
        QCOMPARE(dialog.windowTitle(), QString("Options"));
        QCOMPARE(dialog.minimumSize(), QSize(262, 151));
        QCOMPARE(dialog.maximumSize(), QSize(262, 151));
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(dialog.PageControl1->geometry(), QRect(0, 0, 262, 151));
        QCOMPARE(dialog.PageControl1->count(), 1);
        QCOMPARE(dialog.PageControl1->tabText(0), QString("Main"));
        const QList<std::pair<QAbstractButton*, QRect>> places{{dialog.cbPopUp, {8, 16, 137, 17}},
                                                               {dialog.btnOk, {16, 96, 75, 25}},
                                                               {dialog.btnClose, {160, 96, 75, 25}},
                                                               {dialog.cbStartup, {8, 48, 121, 17}}};
        QStringList captions;
        for (const auto& [control, place] : places) {
            captions << control->text();
            QCOMPARE(control->parentWidget(), dialog.tsMain);
            QCOMPARE(control->geometry(), place);
            // Nothing cut off: the control inside the page, its caption beside a check box or inside a frame.
            QVERIFY2(dialog.tsMain->rect().contains(place), qPrintable(control->text()));
            QVERIFY2(control->fontMetrics().horizontalAdvance(control->text()) + 20 <= place.width(),
                     qPrintable(control->text()));
        }
        QCOMPARE(captions, QStringList({"PopUp on Message", "Ok", "Close", "Load at Startup"}));
        QCOMPARE(dialog.cbStartup->toolTip(), QString("Load of program at startup"));
        QVERIFY(dialog.btnOk->isDefault());

        // The tab first; the second box from the top last, after both buttons; round again either way.
        const QList<QWidget*> order{
            dialog.PageControl1->tabBar(), dialog.cbPopUp, dialog.btnOk, dialog.btnClose, dialog.cbStartup,
            dialog.PageControl1->tabBar()};
        QCOMPARE(QApplication::focusWidget(), order[0]);
        for (QWidget* expected : order.mid(1)) {
            harness.Key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
        for (auto expected = order.rbegin() + 1; expected != order.rend(); ++expected) {
            harness.Key(Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), *expected);
        }
    }

    void centresOverTheMainWindow_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("dialog");
        QTest::addColumn<QPoint>("place");
        // Odd differences leave the spare pixel right and below; only the top is held.
        QTest::newRow("101 wider and higher")
            << QRect(100, 50, 401, 301) << QSize(300, 200) << QPoint(150, 100);
        QTest::newRow("3 narrower main") << QRect(100, 50, 259, 300) << QSize(262, 151) << QPoint(99, 124);
        QTest::newRow("3 lower main") << QRect(100, 50, 400, 148) << QSize(262, 151) << QPoint(169, 50);
        QTest::newRow("1 lower main") << QRect(100, 50, 400, 150) << QSize(262, 151) << QPoint(169, 50);
        QTest::newRow("main partly off screen")
            << QRect(-300, -80, 400, 240) << QSize(262, 151) << QPoint(-231, -36);
    }

    void centresOverTheMainWindow() {
        QFETCH(QRect, main);
        QFETCH(QSize, dialog);
        QFETCH(QPoint, place);
        QCOMPARE(CentredOver(main, dialog), place);
    }

    void opensCentredOverTheShownMainWindow() {
        TOptionsHarness harness;
        harness.Main.Window->move(400, 300);
        harness.Main.Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(harness.Main.Window.get()));
        const QRect dialog = harness.Show().frameGeometry();
        const QRect main = harness.Main.Window->frameGeometry();
        QCOMPARE(dialog.topLeft(), main.topLeft() + QPoint((main.width() - dialog.width()) / 2,
                                                           (main.height() - dialog.height()) / 2));
    }

    void okStoresBothSettingsEvenUnchanged_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("popUp");
        QTest::addColumn<bool>("startup");
        QTest::newRow("ticked: entry written") << None << true << true;
        QTest::newRow("unchanged, ticked: entry rewritten")
            << QByteArray("Exec=/old/kestrin") << false << true;
        QTest::newRow("unchanged, cleared: flag saved") << None << false << false;
    }

    void okStoresBothSettingsEvenUnchanged() {
        QFETCH(QByteArray, before);
        QFETCH(bool, popUp);
        QFETCH(bool, startup);
        TOptionsHarness harness(before);
        PopUp = false;
        TfrmOptions& dialog = harness.Show();
        QCOMPARE(dialog.cbStartup->isChecked(), before != None);
        dialog.cbPopUp->setChecked(popUp);
        dialog.cbStartup->setChecked(startup);
        QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(PopUp, popUp);
        QCOMPARE(harness.StoredSettings(), QByteArray("[General]\nPopUp=") + (popUp ? "1" : "0") + "\n");
        QCOMPARE(harness.StoredEntry(), startup ? Entry : None);
        QVERIFY(harness.Main.Messages.isEmpty());
        QCOMPARE(harness.Show().cbStartup->isChecked(), startup);  // a long entry counts too
    }

    // Both boxes are switched off, then the dialog is left: saved, discarded, or still open.
    void eachWayOut_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("click Ok") << "ok"
                                  << "saved";
        QTest::newRow("Enter right after opening") << "enter"
                                                   << "saved";
        QTest::newRow("keypad Enter") << "keypad"
                                      << "saved";
        QTest::newRow("Enter on the PopUp box") << "tab enter"
                                                << "saved";
        QTest::newRow("Enter on Ok") << "tab tab enter"
                                     << "saved";
        QTest::newRow("Enter on the Startup box") << "tab tab tab tab enter"
                                                  << "saved";
        QTest::newRow("click Close") << "close"
                                     << "discarded";
        QTest::newRow("close box") << "close-box"
                                   << "discarded";
        QTest::newRow("Enter on Close") << "tab tab tab enter"
                                        << "discarded";
        QTest::newRow("Space on Close") << "tab tab tab space"
                                        << "discarded";
        QTest::newRow("Esc") << "esc"
                             << "open";
        QTest::newRow("Esc on Close") << "tab tab tab esc"
                                      << "open";
        QTest::newRow("Ctrl+Enter") << "ctrl+enter"
                                    << "open";
    }

    void eachWayOut() {
        QFETCH(QString, keys);
        QFETCH(QString, outcome);
        TOptionsHarness harness("Exec=/old/kestrin");
        PopUp = true;
        TfrmOptions& dialog = harness.Show();
        dialog.cbPopUp->setChecked(false);
        dialog.cbStartup->setChecked(false);
        for (const QString& key : keys.split(' ')) {
            if (key == "ok" || key == "close") {
                QTest::mouseClick(key == "ok" ? dialog.btnOk : dialog.btnClose, Qt::LeftButton);
            } else if (key == "close-box") {
                dialog.close();
            } else {
                const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> named{
                    {"tab", {Qt::Key_Tab, {}}},     {"enter", {Qt::Key_Return, {}}},
                    {"space", {Qt::Key_Space, {}}}, {"keypad", {Qt::Key_Enter, Qt::KeypadModifier}},
                    {"esc", {Qt::Key_Escape, {}}},  {"ctrl+enter", {Qt::Key_Return, Qt::ControlModifier}}};
                harness.Key(named.at(key).first, named.at(key).second);
            }
        }
        const bool saved = outcome == "saved";
        QCOMPARE(dialog.isVisible(), outcome == "open");
        QCOMPARE(PopUp, !saved);
        QCOMPARE(harness.StoredSettings(), saved ? QByteArray("[General]\nPopUp=0\n") : None);
        QCOMPARE(harness.StoredEntry(), saved ? None : QByteArray("Exec=/old/kestrin"));
        TfrmOptions& again = harness.Show();
        QCOMPARE(again.cbPopUp->isChecked(), !saved);
        QCOMPARE(again.cbStartup->isChecked(), !saved);
    }

    void aFolderThatCannotBeWrittenShowsTheStateReallyStored() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("not-a-folder"));  // a folder under a regular file stops root too
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TOptionsHarness harness(None, dir.filePath("not-a-folder/autostart"));
        TfrmOptions& dialog = harness.Show();
        dialog.cbStartup->setChecked(true);
        dialog.btnOk->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(harness.Main.Messages.isEmpty());
        QVERIFY(harness.StoredSettings() != None);
        QVERIFY(!harness.Show().cbStartup->isChecked());
    }

    void registryFailuresAreReportedAndOkStillSavesAndCloses() {
        TOptionsHarness harness;
        TThrowingStartup failing;
        for (const bool startup : {true, false}) {
            harness.Main.Messages.clear();
            TfrmOptions& dialog = harness.Show(&failing);
            QVERIFY(!dialog.cbStartup->isChecked());
            dialog.cbStartup->setChecked(startup);
            dialog.btnOk->click();
            QCOMPARE(harness.Main.Messages, QStringList({"message: Error in TfrmOptions.CheckLoadAtStartup",
                                                         "message: Error in TfrmOptions.LoadAtStartup"}));
            QVERIFY(!dialog.isVisible());
            QVERIFY(harness.StoredSettings() != None);
        }
    }

    void theOptionsMenuShowsAFreshModalDialogAndFreesIt() {
        TOptionsHarness harness;
        TfrmMain& window = *harness.Main.Window;
        window.OptionsFactory = [&harness](QWidget* owner) {
            return std::make_unique<TfrmOptions>(owner, harness.Startup, [] { return ProgramPath; });
        };
        QPointer<QWidget> seen;
        bool modalOverTheWindow = false;
        QTimer::singleShot(0, [&] {
            seen = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<TfrmOptions*>(seen.data());
            modalOverTheWindow = dialog != nullptr && dialog->isModal() && dialog->parentWidget() == &window;
            if (dialog != nullptr) {
                dialog->cbStartup->setChecked(true);
                dialog->btnOk->click();
            } else if (seen) {
                seen->close();
            }
        });
        window.mnuOptions->trigger();
        QVERIFY(modalOverTheWindow);
        QVERIFY(seen.isNull());  // freed as soon as the modal loop ended
        QCOMPARE(harness.StoredEntry(), Entry);

        window.OptionsFactory = [](QWidget*) -> std::unique_ptr<QDialog> {
            throw std::runtime_error("no memory");
        };
        window.mnuOptions->trigger();
        QCOMPARE(harness.Main.Messages,
                 QStringList{"message: Error of creating Form of Options in  TfrmMain.mnuOptionsClick"});
    }
};

int main(int argc, char** argv) {
    TKestrinApplication app(argc, argv);
    OptionsDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "OptionsDialogTest.moc"
