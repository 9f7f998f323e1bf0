// The About box: its controls, its place over the main window, how it closes, and the About command.
#include <QFrame>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <stdexcept>

#include "KestrinApplication.h"
#include "MainWindowHarness.h"
#include "URLLabel.h"
#include "DialogPlacement.h"
#include "uniAbout.h"

namespace {

/// Shows `box` modally, runs `act` once it is up, and gives what exec returned; -1 if `act` left it open.
int ExecWhile(QDialog& box, const std::function<void()>& act) {
    QTimer::singleShot(0, &box, [&box, act] {
        act();
        if (box.isVisible()) {
            box.done(-1);
        }
    });
    return box.exec();
}

bool AnyPixel(const QImage& image, const QRect& area, bool (*test)(QColor)) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (test(image.pixelColor(x, y))) {
                return true;
            }
        }
    }
    return false;
}

bool IsNavy(QColor c) {
    return c.red() < 60 && c.green() < 60 && c.blue() > 90 && c.blue() < 170;
}
bool IsLime(QColor c) {
    return c.green() > 200 && c.red() < 90 && c.blue() < 90;
}

/// Screenshots for a person to look at, written only where KESTRIN_SCREENSHOT_DIR names a folder.
void SaveScreenshot(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("KESTRIN_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QVERIFY(image.save(folder + "/" + name));
    }
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void placesTheBoxCentredOverTheMainWindow_data() {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("designed example") << QRect(100, 100, 500, 400) << QPoint(206, 196);
        QTest::newRow("main window smaller both ways") << QRect(100, 100, 200, 150) << QPoint(56, 100);
        QTest::newRow("odd shortfall truncates toward zero") << QRect(100, 100, 283, 202) << QPoint(98, 100);
        QTest::newRow("odd surplus truncates toward zero") << QRect(100, 100, 293, 212) << QPoint(102, 102);
        QTest::newRow("near the bottom right, not pulled back")
            << QRect(1800, 1000, 500, 400) << QPoint(1906, 1096);
    }

    void placesTheBoxCentredOverTheMainWindow() {
        QFETCH(QRect, main);
        QFETCH(QPoint, expected);
        QCOMPARE(CentredOver(main, QSize(288, 207)), expected);
    }

    void showingPlacesTheBoxOverFrmMainNotOverItsOwner_data() {
        QTest::addColumn<QSize>("mainSize");
        QTest::newRow("as designed") << QSize();
        QTest::newRow("main window smaller than the box") << QSize(200, 100);
    }

    void showingPlacesTheBoxOverFrmMainNotOverItsOwner() {
        QFETCH(QSize, mainSize);
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        if (mainSize.isValid()) {
            window.setFixedSize(mainSize);
        }
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget otherOwner;
        otherOwner.move(700, 500);
        TAboutBox box(&otherOwner);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QRect main = window.frameGeometry();
        QCOMPARE(box.frameGeometry().topLeft(), CentredOver(main, box.frameGeometry().size()));
        if (mainSize.isValid()) {
            QCOMPARE(box.frameGeometry().top(), main.top());
            QVERIFY(box.frameGeometry().left() < main.left());
        }
    }

    void closesWithResultTwoWhicheverWay_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK button") << "ok";
        QTest::newRow("Enter") << "enter";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("close box") << "close";
    }

    void closesWithResultTwoWhicheverWay() {
        QFETCH(QString, how);
        TAboutBox box(nullptr);
        QWidget* focused = nullptr;
        QWidget* focusedAfterTab = nullptr;
        const int result = ExecWhile(box, [&] {
            if (!QTest::qWaitForWindowActive(&box)) {
                return;
            }
            focused = QApplication::focusWidget();
            QTest::keyClick(focused, Qt::Key_Tab);  // the only control that Tab reaches
            focusedAfterTab = QApplication::focusWidget();
            if (how == "ok") {
                QTest::mouseClick(box.OKButton, Qt::LeftButton);
            } else if (how == "enter" || how == "esc") {
                QTest::keyClick(QApplication::focusWidget(),
                                how == "enter" ? Qt::Key_Return : Qt::Key_Escape);
            } else {
                QCloseEvent closing;
                QApplication::sendEvent(box.windowHandle(), &closing);
            }
        });
        QCOMPARE(focused, box.OKButton);
        QCOMPARE(focusedAfterTab, box.OKButton);
        QCOMPARE(result, ModalResultCancel);
    }

    void laysOutEveryControlAsDesigned() {
        TAboutBox box(nullptr);
        QCOMPARE(box.windowTitle(), QString("About Kestrin"));
        QCOMPARE(box.size(), QSize(280, 180));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.OKButton->geometry(), QRect(109, 156, 68, 21));
        QVERIFY(box.OKButton->isDefault());
        QCOMPARE(box.Bevel1->geometry(), QRect(8, 150, 265, 2));
        QCOMPARE(box.Bevel2->geometry(), QRect(8, 56, 265, 73));
        QCOMPARE(box.ProgramIcon->geometry(), QRect(16, 12, 32, 32));
        QVERIFY(!box.ProgramIcon->pixmap().isNull());
        QCOMPARE(box.Label5->text(), QString("Kestrin ver.1.0"));
        QCOMPARE(box.StaticText1->text(), QString("Welcome to my home page"));
        QCOMPARE(box.StaticText2->text(), QString("Send me e-mail"));
        QCOMPARE(box.Label7->text(), QString("or"));
        QCOMPARE(box.Label5->font().pixelSize(), 16);
        QCOMPARE(box.Label1->font().pixelSize(), 13);

        // Texts of the given width stand where they were drawn; our own texts keep the middle of their box,
        // and the first address ends where its box ends, next to "or".
        struct TPlace {
            QWidget* Control;
            bool Centred;
            int X;
            int Top;
        };
        for (const TPlace& place :
             {TPlace{box.StaticText1, false, 72, 64}, TPlace{box.StaticText2, false, 96, 96},
              TPlace{box.Label7, false, 128, 112}, TPlace{box.URLLabel3, false, 160, 112},
              TPlace{box.Label5, true, 151, 8}, TPlace{box.Label1, true, 146, 30},
              TPlace{box.Label2, true, 144, 136}, TPlace{box.URLLabel1, true, 141, 80}}) {
            const int x = place.Centred ? place.Control->geometry().center().x() : place.Control->x();
            QVERIFY2(qAbs(x - place.X) <= (place.Centred ? 1 : 0) && place.Control->y() == place.Top,
                     qPrintable(place.Control->objectName()));
        }
        QCOMPARE(box.URLLabel2->geometry().topRight(), QPoint(107, 112));

        // Nothing is cut off or crowded: every text fits its control inside the box, the links stay inside
        // their frame, and the e-mail line's parts keep apart.
        for (QLabel* label : box.findChildren<QLabel*>()) {
            const char* name = qPrintable(label->objectName());
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), name);
            QVERIFY2(box.rect().contains(label->geometry()), name);
        }
        for (QWidget* inFrame : box.findChildren<TURLLabel*>()) {
            QVERIFY(box.Bevel2->geometry().adjusted(1, 1, -1, -1).contains(inFrame->geometry()));
        }
        QVERIFY(box.URLLabel2->geometry().right() + 8 < box.Label7->x());
        QVERIFY(box.Label7->geometry().right() + 8 < box.URLLabel3->x());
        QVERIFY(box.Label2->geometry().bottom() < box.Bevel1->y());

        // The home page shows its own address; the mail links open a new message to theirs.
        QCOMPARE(box.URLLabel1->URL, box.URLLabel1->text());
        QCOMPARE(box.URLLabel2->URL, "mailto:" + box.URLLabel2->text());
        QCOMPARE(box.URLLabel3->URL, "mailto:" + box.URLLabel3->text());
        for (TURLLabel* link : {box.URLLabel1, box.URLLabel2, box.URLLabel3}) {
            QCOMPARE(link->CurrentFont().Color, QColor(0, 0, 128));
            QCOMPARE(link->HiFont().Color, QColor(0, 255, 0));
            QVERIFY(link->HiFont().Font.underline() && !link->font().underline());
        }
        for (QWidget* child : box.findChildren<QWidget*>()) {
            QVERIFY2((child->focusPolicy() != Qt::NoFocus) == (child == box.OKButton),
                     qPrintable(child->objectName()));
        }
    }

    void drawsLinksInNavyAndAHoveredLinkInLime() {
        TAboutBox box(nullptr);
        const QImage normal = box.grab().toImage();
        SaveScreenshot(normal, "about-box.png");
        QVERIFY(AnyPixel(normal, box.URLLabel1->geometry(), IsNavy));
        QVERIFY(!AnyPixel(normal, box.URLLabel1->geometry(), IsLime));

        QEnterEvent entering(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        QApplication::sendEvent(box.URLLabel1, &entering);
        const QImage hovered = box.grab().toImage();
        SaveScreenshot(hovered, "about-box-hover.png");
        QVERIFY(AnyPixel(hovered, box.URLLabel1->geometry(), IsLime));
        QVERIFY(AnyPixel(hovered, box.URLLabel2->geometry(), IsNavy));
        QVERIFY(!AnyPixel(hovered, box.URLLabel2->geometry(), IsLime));
    }

    void theAboutCommandOpensAFreshBoxAndFreesIt() {
        TMainWindowHarness harness;
        TfrmMain& window = harness.Open();
        int made = 0;
        window.AboutFactory = [&made](QWidget* owner) {
            ++made;
            return MakeAboutBox(owner);
        };
        for (int opening = 1; opening <= 2; ++opening) {
            QPointer<QWidget> shown;
            QWidget* owner = nullptr;
            QString title;
            QTimer::singleShot(0, &window, [&] {
                shown = QApplication::activeModalWidget();
                if (shown) {
                    owner = shown->parentWidget();
                    title = shown->windowTitle();
                    shown->close();
                }
            });
            window.mnuAbout->trigger();
            QCOMPARE(made, opening);
            QCOMPARE(title, QString("About Kestrin"));
            QCOMPARE(owner, &window);
            QVERIFY(shown.isNull());  // freed when the command ended
        }
        QVERIFY(harness.Messages.isEmpty());

        window.AboutFactory = [](QWidget*) -> std::unique_ptr<QDialog> {
            throw std::runtime_error("no memory");
        };
        window.mnuAbout->trigger();
        QCOMPARE(harness.Messages, QStringList{"message: Error of creating Form of About Box"});
    }
};

int main(int argc, char** argv) {
    TKestrinApplication app(argc, argv);
    AboutBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AboutBoxTest.moc"
