// The Options dialog and where dialogs go.
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "options/uniOptions.h"
#include "startup/xdg/DesktopEntry.h"
#include "startup/xdg/XdgAutostart.h"
#include "tests/support/KeyboardRound.h"
#include "tests/support/RecordedMessages.h"
#include "widgets/DialogPlacement.h"

namespace {

// Blanks, and longer than the 256 bytes an entry was once read into.
const std::string ProgramPath = "/opt/Kestrin Chat/" + std::string(300, 'k') + "/kestrin";
const QByteArray OldEntry = "Exec=/old/kestrin";
const QByteArray None = "<none>";

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : None;
}

struct TThrowingStartup final : TStartupRegistration {
    void Register(const std::string&) override { throw std::runtime_error("registry gone"); }
    void Unregister() override { throw std::runtime_error("registry gone"); }
    bool IsRegistered() override { throw std::runtime_error("registry gone"); }
};

/// An autostart folder holding an old entry of ours, the pop-up flag, and failures recorded, not shown.
struct TOptionsHarness : TRecordedMessages {
    TOptionsHarness() {
        QFile entry(Startup.EntryPath());
        Ready = entry.open(QIODevice::WriteOnly) && entry.write(OldEntry) > 0;
    }

    /// A fresh dialog, shown and active, as each opening from the menu gives one.
    TfrmOptions& Show(TStartupRegistration* startup = nullptr) {
        const TOptionsEnvironment environment{startup ? *startup : Startup, PopUp,
                                              [this] { Messages << "saved PopUp=" + QString::number(PopUp); },
                                              [] { return ProgramPath; }};
        Dialog = std::make_unique<TfrmOptions>(nullptr, nullptr, environment);
        Dialog->show();
        Ready = QTest::qWaitForWindowActive(Dialog.get()) && Ready;
        return *Dialog;
    }

    QTemporaryDir AutostartDir;
    TXdgAutostart Startup{AutostartDir.path()};
    bool PopUp = true;
    bool Ready = false;  // the old entry written, and each dialog active when shown
    std::unique_ptr<TfrmOptions> Dialog;
};

}  // namespace

class OptionsTest : public QObject {
    Q_OBJECT

private slots:
    void centresDialogsOverTheMainWindow() {
        // Halves truncate toward zero, so a spare pixel falls right and below; only the top is held.
        const std::tuple<const char*, QRect, QSize, QPoint> rows[] = {
            {"3 narrower", {100, 50, 259, 300}, {262, 151}, {99, 124}},
            {"3 lower: top held", {100, 50, 400, 148}, {262, 151}, {169, 50}},
            {"near the bottom right, not pulled back", {1800, 1000, 500, 400}, {288, 207}, {1906, 1096}}};
        for (const auto& [name, main, dialog, place] : rows)
            QVERIFY2(CentredOver(main, dialog) == place, name);
    }

    // Pop-up is switched off and Startup set, then the dialog is left: saved, discarded, or still open.
    void eachWayOut() {
        const std::tuple<QString, bool, QString> rows[] = {
            {"Ok", true, "saved"},      // Startup unchanged: the entry is rewritten
            {"Enter", false, "saved"},  // right after opening: the entry is removed
            {"close box", false, "discarded"},
            {"Esc", false, "open"}};
        for (const auto& [way, startup, outcome] : rows) {
            TOptionsHarness harness;
            TfrmOptions& dialog = harness.Show();
            auto* const cbPopUp = Named<QCheckBox>(dialog, "cbPopUp");
            auto* const cbStartup = Named<QCheckBox>(dialog, "cbStartup");
            QVERIFY(harness.Ready && cbPopUp->isChecked() && cbStartup->isChecked());
            cbPopUp->setChecked(false);
            cbStartup->setChecked(startup);
            if (way == "Ok")
                QTest::mouseClick(Named<QPushButton>(dialog, "btnOk"), Qt::LeftButton);
            else if (way == "close box")
                dialog.close();
            else
                QTest::keyClick(QApplication::focusWidget(),
                                way == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
            const bool saved = outcome == "saved";
            QVERIFY2(dialog.isVisible() == (outcome == "open") && harness.PopUp == !saved, qPrintable(way));
            const QByteArray entry = QByteArray::fromStdString(DesktopEntryText(ProgramPath));
            QCOMPARE(Contents(harness.Startup.EntryPath()), !saved ? OldEntry : startup ? entry : None);
            TfrmOptions& again = harness.Show();
            QCOMPARE(Named<QCheckBox>(again, "cbPopUp")->isChecked(), !saved);
            QCOMPARE(Named<QCheckBox>(again, "cbStartup")->isChecked(), !saved || startup);  // a long one too
            QCOMPARE(harness.Messages, saved ? QStringList{"saved PopUp=0"} : QStringList{});
        }
    }

    void registryFailuresAreReportedAndOkStillSavesAndCloses() {
        TOptionsHarness harness;
        TThrowingStartup failing;
        TfrmOptions& dialog = harness.Show(&failing);
        auto* const cbStartup = Named<QCheckBox>(dialog, "cbStartup");
        QVERIFY(!cbStartup->isChecked());
        cbStartup->setChecked(true);
        Named<QPushButton>(dialog, "btnOk")->click();
        QCOMPARE(harness.Messages,
                 QStringList({"message: Error in TfrmOptions.CheckLoadAtStartup",
                              "message: Error in TfrmOptions.LoadAtStartup", "saved PopUp=1"}));
        QVERIFY(!dialog.isVisible());
    }

    // Tab reaches every control in the designed order, a screen reader has a name for each and says it in the
    // dialog's language, and every caption fits its control, in English, Russian and German.
    void eachControlIsReachedNamedAndFitsInEachLanguage() {
        TSpokenNames spoken;
        InEachLanguage([&spoken](const QString& language) {
            TOptionsHarness harness;
            TfrmOptions& dialog = harness.Show();
            QVERIFY(harness.Ready);
            QStringList order;
            spoken.Walk(dialog, language, order);
            QCOMPARE(order,
                     QStringList({"qt_tabwidget_tabbar", "cbPopUp", "btnOk", "btnClose", "cbStartup"}));
            const QStringList overflowing = Overflowing(dialog);
            QVERIFY2(overflowing.isEmpty(), qPrintable(language + ": " + overflowing.join(", ")));
            QCOMPARE(dialog.windowTitle() == "Options", language == "en");
        });
    }
};

QTEST_MAIN(OptionsTest)

#include "OptionsTest.moc"
