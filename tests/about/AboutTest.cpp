// The About box and its link labels: the hover look, one request per click, the colours, how the box closes.
#include <QApplication>
#include <QEnterEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "about/URLLabel.h"
#include "about/uniAbout.h"
#include "widgets/FixedLayout.h"

namespace {

void Hover(TURLLabel& label, bool enter) {
    QEnterEvent entering(QPointF(2, 2), QPointF(2, 2), label.mapToGlobal(QPointF(2, 2)));
    QEvent leaving(QEvent::Leave);
    QApplication::sendEvent(&label, enter ? &entering : &leaving);
}

TLinkFont Look(int pixels, QColor colour) {
    QFont font = KestrinFont();
    font.setPixelSize(pixels);
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
        label->ApplyFont(Look(11, Qt::darkGreen));
        label->SetHiFont(Look(20, Qt::red));
        label->move(40, 40);  // away from the pointer, so that showing the form brings no enter of its own
        form.setGeometry(400, 400, 300, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QSize ownSize = label->size();
        Hover(*label, false);  // the pointer came in under another widget's grab: no enter before this leave
        QCOMPARE(label->CurrentFont(), Look(11, Qt::darkGreen));
        TPaintCounter counter;
        label->installEventFilter(&counter);
        Hover(*label, true);
        QCOMPARE(counter.Paints, 1);  // painted before the notification returned, not merely scheduled
        Hover(*label, true);          // a second enter must not take the hover look for the own one
        QCOMPARE(label->CurrentFont(), Look(20, Qt::red));
        QVERIFY(label->width() > ownSize.width());  // sized to its text in the larger look
        Hover(*label, false);
        QCOMPARE(label->CurrentFont(), Look(11, Qt::darkGreen));
        QCOMPARE(label->size(), ownSize);
    }

    void opensTheAddressOncePerClick() {
        // Steps: (p)ress, (r)elease, release (o)utside, (d)ouble click; upper case with the right button.
        const std::tuple<const char*, QString, int, int> rows[] = {
            {"click", "pr", 1, 0},
            {"double click", "prdr", 1, 1},
            {"two clicks", "prpr", 2, 0},
            {"dragged off and released outside", "po", 0, 0},
            {"right button", "PR", 0, 0}};
        for (const auto& [name, steps, clicks, doubleClicks] : rows) {
            TURLLabel label(nullptr);
            label.resize(60, 13);
            label.URL = "mailto:mail@example.org";
            QStringList requests;
            label.Opener = [&requests](const QUrl& address) {
                requests << address.toString();
                return false;  // the desktop could not open it: the click still counts
            };
            QList<int> clicked;  // requests made when each click was raised: the address goes first
            int doubled = 0;
            connect(&label, &TURLLabel::Clicked, this, [&] { clicked << requests.size(); });
            connect(&label, &TURLLabel::DoubleClicked, this, [&] { ++doubled; });
            for (const QChar step : steps) {
                const auto action = step.toLower() == 'p'   ? QTest::MousePress
                                    : step.toLower() == 'd' ? QTest::MouseDClick
                                                            : QTest::MouseRelease;
                QTest::mouseEvent(action, &label, step.isUpper() ? Qt::RightButton : Qt::LeftButton, {},
                                  step == 'o' ? QPoint(-20, 40) : QPoint(5, 5));
            }
            QVERIFY2(requests == QStringList(clicks, label.URL) && doubled == doubleClicks, name);
            QCOMPARE(clicked, (QList<int>{1, 2}.mid(0, clicks)));
        }
    }

    void linksOpenTheirAddressesInNavyAndLimeWhenHovered() {
        TAboutBox box(nullptr, nullptr);
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
            TAboutBox box(nullptr, nullptr);
            QTimer::singleShot(0, &box, [&] {
                if (QTest::qWaitForWindowActive(&box)) {
                    if (how == "close box") {
                        box.close();
                    } else if (how == "OK") {
                        QTest::mouseClick(box.OKButton, Qt::LeftButton);
                    } else {
                        QTest::keyClick(&box, how == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
                    }
                }
                if (box.isVisible()) {
                    box.done(-1);
                }
            });
            QVERIFY2(box.exec() == ModalResultCancel, qPrintable(how));
        }
    }
};

QTEST_MAIN(AboutTest)

#include "AboutTest.moc"
