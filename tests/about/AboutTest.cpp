// The About box and its link labels: one request per click, the colours, how the box closes.
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "about/URLLabel.h"
#include "about/uniAbout.h"
#include "tests/support/KeyboardRound.h"

namespace {

/// A link label that counts the paints it is given.
struct TCountedLabel : TURLLabel {
    using TURLLabel::TURLLabel;
    int Paints = 0;
    void paintEvent(QPaintEvent* event) override {
        ++Paints;
        TURLLabel::paintEvent(event);
    }
};

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheAddressOncePerClick() {
        // Steps: (p)ress, (r)elease, release (o)utside, (d)ouble click; upper case with the right button. The
        // label's Clicked and DoubleClicked events have no listener in the program, so only the requests
        // count.
        const std::tuple<const char*, QString, int> rows[] = {{"click", "pr", 1},
                                                              {"double click", "prdr", 1},
                                                              {"two clicks", "prpr", 2},
                                                              {"dragged off and released outside", "po", 0},
                                                              {"right button", "PR", 0}};
        for (const auto& [name, steps, clicks] : rows) {
            TURLLabel label(nullptr);
            label.resize(60, 13);
            label.URL = "mailto:mail@example.org";
            QStringList requests;
            label.Opener = [&requests](const QUrl& address) {
                requests << address.toString();
                return false;  // the desktop could not open it: the click still counts
            };
            for (const QChar step : steps) {
                const auto action = step.toLower() == 'p'   ? QTest::MousePress
                                    : step.toLower() == 'd' ? QTest::MouseDClick
                                                            : QTest::MouseRelease;
                QTest::mouseEvent(action, &label, step.isUpper() ? Qt::RightButton : Qt::LeftButton, {},
                                  step == 'o' ? QPoint(-20, 40) : QPoint(5, 5));
            }
            QVERIFY2(requests == QStringList(clicks, label.URL), name);
        }
    }

    // Each change of look is painted before the event that made it returns, not at a later turn of the loop.
    void dropsTheHoverLookAsSoonAsAHeldPointerLeaves() {
        TCountedLabel label(nullptr);
        label.AutoSize = false;  // stays 60 x 13 through the changes of look
        // Away from where the pointer rests, so that the only enter is the test's.
        label.setGeometry(300, 300, 60, 13);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        label.Paints = 0;
        const TLinkFont normal = label.CurrentFont();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&label, &enter);
        QVERIFY(label.Paints > 0);
        QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
        // Qt holds the leave back while the button is down; the moves come to the label all the same.
        bool was = true;
        for (const auto& [at, hovered] : {std::pair{QPoint(5, 5), true},
                                          {QPoint(-20, 40), false},
                                          {QPoint(6, 6), true},
                                          {QPoint(90, 5), false}}) {
            label.Paints = 0;
            QMouseEvent move(QEvent::MouseMove, at, label.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(&label, &move);
            QVERIFY(label.CurrentFont() == (hovered ? label.HiFont() : normal));
            QCOMPARE(label.Paints > 0, std::exchange(was, hovered) != hovered);
        }
        QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(90, 5));
        QVERIFY(label.CurrentFont() == normal);
    }

    // The box closes with result 2 whichever way.
    void theBoxClosesWithCancelEachWay() {
        for (const QString how : {"OK", "Enter", "Esc", "close box"}) {
            TAboutBox box(nullptr, nullptr);
            box.show();
            QVERIFY(QTest::qWaitForWindowActive(&box));
            if (how == "close box")
                box.close();
            else if (how == "OK")
                QTest::mouseClick(Named<QPushButton>(box, "OKButton"), Qt::LeftButton);
            else
                QTest::keyClick(&box, how == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
            QVERIFY2(!box.isVisible() && box.result() == ModalResultCancel, qPrintable(how));
        }
    }

    // Tab reaches the OK button and then each link, a screen reader has a name for each and says it in the
    // box's language, knows a link as one and can press it, as Enter and Space on a focused link do; every
    // text fits the box, in English, Russian and German. The first link opens the home page, the others a new
    // mail; each is navy, and lime and underlined when hovered.
    void eachControlIsReachedNamedAndFitsInEachLanguage() {
        TSpokenNames spoken;
        InEachLanguage([&spoken](const QString& language) {
            TAboutBox box(nullptr, nullptr);
            QStringList opened, links;
            for (TURLLabel* link : box.findChildren<TURLLabel*>())
                link->Opener = [&opened](const QUrl& address) { return opened << address.toString(), true; };
            box.show();
            QStringList order;
            spoken.Walk(box, language, order, [&links](QWidget& control) {
                auto* const link = qobject_cast<TURLLabel*>(&control);
                QCOMPARE(QAccessible::queryAccessibleInterface(&control)->role(),
                         link != nullptr ? QAccessible::Link : QAccessible::Button);
                if (link == nullptr)
                    return;
                QCOMPARE(link->URL, (link->objectName() == "URLLabel1" ? "" : "mailto:") + link->text());
                QCOMPARE(link->CurrentFont().Color, QColor(0, 0, 128));
                QCOMPARE(link->HiFont().Color, QColor(0, 255, 0));
                QVERIFY(link->HiFont().Font.underline() && !link->font().underline());
                QTest::keyClick(link, Qt::Key_Return);
                QTest::keyClick(link, Qt::Key_Space);
                QAccessible::queryAccessibleInterface(link)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
                links << link->URL << link->URL << link->URL;
            });
            QCOMPARE(order, QStringList({"OKButton", "URLLabel1", "URLLabel2", "URLLabel3"}));
            QCOMPARE(opened, links);
            QVERIFY(box.isVisible());  // Enter on a link opens it and leaves the box open
            const QStringList overflowing = Overflowing(box);
            QVERIFY2(overflowing.isEmpty(), qPrintable(language + ": " + overflowing.join(", ")));
            QCOMPARE(box.windowTitle() == "About Kestrin", language == "en");
        });
    }
};

QTEST_MAIN(AboutTest)

#include "AboutTest.moc"
