// The About box and its link labels: the hover look, one request per click, the colours, how the box closes.
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "AppFont.h"
#include "MainWindowHarness.h"
#include "URLLabel.h"
#include "uniAbout.h"

namespace {

void Enter(TURLLabel& label) {
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), label.mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(&label, &event);
}

void Leave(TURLLabel& label) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&label, &event);
}

/// Plays left-button steps (p)ress, (r)elease, (o)utside release, (d)ouble click; upper case for the right
/// one.
void Play(TURLLabel& label, const QString& steps) {
    for (const QChar step : steps) {
        const auto button = step.isUpper() ? Qt::RightButton : Qt::LeftButton;
        const auto type = step.toLower() == 'p'   ? QEvent::MouseButtonPress
                          : step.toLower() == 'd' ? QEvent::MouseButtonDblClick
                                                  : QEvent::MouseButtonRelease;
        const QPointF at = step == 'o' ? QPointF(-20, 40) : QPointF(5, 5);
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, label.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    }
}

TLinkFont Look(int pixels, bool bold, QColor colour) {
    QFont font = KestrinFont();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return {font, colour};
}

struct TPaintCounter : QObject {
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        Paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void hoverShowsItsLookAtOnceAndLeaveBringsBackTheOwnOne() {
        QWidget form;
        auto* label = new TURLLabel(&form);
        label->setText("www.example.org");
        const TLinkFont own = Look(11, false, Qt::darkGreen);
        const TLinkFont hover = Look(20, true, Qt::red);
        label->ApplyFont(own);
        label->SetHiFont(hover);
        label->move(40, 40);  // away from the pointer, so that showing the form brings no enter of its own
        form.resize(300, 100);
        form.move(400, 400);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QSize ownSize = label->size();
        Leave(*label);  // the pointer came in under another widget's grab: no enter before this leave
        QCOMPARE(label->CurrentFont(), own);
        TPaintCounter counter;
        label->installEventFilter(&counter);
        Enter(*label);
        QCOMPARE(counter.Paints, 1);  // painted before the notification returned, not merely scheduled
        Enter(*label);                // a second enter must not take the hover look for the own one
        label->SetHiFont(Look(11, true, Qt::blue));  // shows from the next hover on
        QCOMPARE(label->CurrentFont(), hover);
        QVERIFY(label->width() > ownSize.width());  // sized to its text in the larger look
        Leave(*label);
        QCOMPARE(label->CurrentFont(), own);
        QCOMPARE(label->size(), ownSize);
        Enter(*label);
        QCOMPARE(label->CurrentFont(), Look(11, true, Qt::blue));
    }

    void opensTheAddressOncePerClick_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("doubleClicks");
        QTest::newRow("click") << "pr" << 1 << 0;
        QTest::newRow("double click") << "prdr" << 1 << 1;
        QTest::newRow("two clicks") << "prpr" << 2 << 0;
        QTest::newRow("dragged off and released outside") << "po" << 0 << 0;
        QTest::newRow("right button") << "PR" << 0 << 0;
    }

    void opensTheAddressOncePerClick() {
        QFETCH(QString, steps);
        QFETCH(int, clicks);
        QFETCH(int, doubleClicks);
        TURLLabel label(nullptr);
        label.setGeometry(0, 0, 60, 13);
        label.AutoSize = false;
        label.URL = "mailto:mail@example.org";
        QStringList requests;
        label.Opener = [&requests](const QUrl& address) {
            requests << address.toString();
            return false;  // the desktop could not open it: the click still counts
        };
        int clicked = 0;
        int doubled = 0;
        connect(&label, &TURLLabel::Clicked, this, [&] {
            QCOMPARE(requests.size(), ++clicked);  // the address is on its way before the click is raised
        });
        connect(&label, &TURLLabel::DoubleClicked, this, [&] { ++doubled; });
        Play(label, steps);
        QCOMPARE(requests, QStringList(clicks, label.URL));
        QCOMPARE(clicked, clicks);
        QCOMPARE(doubled, doubleClicks);
    }

    void showsItsLinksWholeInNavyAndLimeWhenHovered() {
        TAboutBox box(nullptr);
        QCOMPARE(LayoutProblems(box).join(" "), QString());
        QCOMPARE(box.URLLabel1->URL, box.URLLabel1->text());  // the home page; the others open a new mail
        for (TURLLabel* link : {box.URLLabel1, box.URLLabel2, box.URLLabel3}) {
            QVERIFY(link == box.URLLabel1 || link->URL == "mailto:" + link->text());
            QCOMPARE(link->CurrentFont().Color, QColor(0, 0, 128));
            QCOMPARE(link->HiFont().Color, QColor(0, 255, 0));
            QVERIFY(link->HiFont().Font.underline() && !link->font().underline());
        }
    }

    void closesWithResultTwoWhicheverWay() {
        for (const QString how : {"OK", "Enter", "Esc", "close box"}) {
            TAboutBox box(nullptr);
            QList<QWidget*> focused;
            QTimer::singleShot(0, &box, [&] {
                if (QTest::qWaitForWindowActive(&box)) {
                    focused << QApplication::focusWidget();
                    QTest::keyClick(focused[0], Qt::Key_Tab);  // OK is the only control Tab reaches
                    focused << QApplication::focusWidget();
                    if (how == "OK") {
                        QTest::mouseClick(box.OKButton, Qt::LeftButton);
                    } else if (how == "close box") {
                        QCloseEvent closing;
                        QApplication::sendEvent(box.windowHandle(), &closing);
                    } else {
                        QTest::keyClick(focused[1], how == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
                    }
                }
                if (box.isVisible()) {
                    box.done(-1);
                }
            });
            QVERIFY2(box.exec() == ModalResultCancel, qPrintable(how));
            QCOMPARE(focused, QList<QWidget*>({box.OKButton, box.OKButton}));
        }
    }
};

QTEST_MAIN(AboutTest)

#include "AboutTest.moc"
