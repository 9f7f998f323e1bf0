// The link label: its hover look, and exactly one request to the desktop for each click.
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>

#include "AppFont.h"
#include "URLLabel.h"

namespace {

void Enter(TURLLabel& label) {
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), label.mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(&label, &event);
}

void Leave(TURLLabel& label) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&label, &event);
}

/// Plays mouse steps such as "press 5 5", "release -20 40", "double 5 5", "right-press 5 5".
void Play(TURLLabel& label, const QStringList& steps) {
    for (const QString& step : steps) {
        const QStringList word = step.split(' ');
        const QPoint at(word[1].toInt(), word[2].toInt());
        const bool right = word[0].startsWith("right-");
        const QString kind = right ? word[0].mid(6) : word[0];
        const Qt::MouseButton button = right ? Qt::RightButton : Qt::LeftButton;
        const QEvent::Type type = kind == "press"    ? QEvent::MouseButtonPress
                                  : kind == "double" ? QEvent::MouseButtonDblClick
                                                     : QEvent::MouseButtonRelease;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, label.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    }
}

class TPaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        Paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TLinkFont Look(int pixels, bool bold, QColor colour) {
    QFont font = KestrinFont();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return {font, colour};
}

}  // namespace

class URLLabelTest : public QObject {
    Q_OBJECT

private slots:
    void hoverShowsTheHoverLookAtOnceAndLeaveRestoresIt() {
        QWidget form;
        auto* label = new TURLLabel(&form);
        label->setText("www.example.org");
        const TLinkFont normal = Look(11, false, Qt::darkGreen);
        const TLinkFont hover = Look(20, true, Qt::red);
        label->ApplyFont(normal);
        label->SetHiFont(hover);
        // Away from the pointer, so that showing the form brings no enter of its own.
        label->move(40, 40);
        form.resize(300, 100);
        form.move(400, 400);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QSize normalSize = label->size();
        TPaintCounter counter;
        label->installEventFilter(&counter);

        Enter(*label);
        QCOMPARE(label->CurrentFont(), hover);
        QCOMPARE(counter.Paints, 1);  // painted before the notification returned, not merely scheduled
        QVERIFY(label->width() > normalSize.width());  // sized to its text in the larger look
        Leave(*label);
        QCOMPARE(label->CurrentFont(), normal);
        QCOMPARE(counter.Paints, 2);
        QCOMPARE(label->size(), normalSize);
    }

    void aHoverLookWrittenDuringHoverShowsFromTheNextEnter() {
        TURLLabel label(nullptr);
        const TLinkFont normal = Look(11, false, Qt::black);
        const TLinkFont first = Look(11, false, Qt::red);
        const TLinkFont second = Look(11, true, Qt::blue);
        label.ApplyFont(normal);
        label.SetHiFont(first);
        Enter(label);
        label.SetHiFont(second);
        QCOMPARE(label.CurrentFont(), first);
        Leave(label);
        QCOMPARE(label.CurrentFont(), normal);
        Enter(label);
        QCOMPARE(label.CurrentFont(), second);

        label.HiFont().Font.setItalic(true);  // the label's own hover look, changed in place
        Leave(label);
        Enter(label);
        QVERIFY(label.font().italic());
    }

    void leaveRestoresOnlyWhatAnEnterSaved() {
        TURLLabel label(nullptr);
        const TLinkFont own = Look(14, true, Qt::darkRed);
        label.ApplyFont(own);
        Leave(label);  // the pointer came in under another widget's grab: no enter before this leave
        QCOMPARE(label.CurrentFont(), own);

        Enter(label);
        Enter(label);  // a second enter must not take the hover look for the normal one
        Leave(label);
        QCOMPARE(label.CurrentFont(), own);

        Enter(label);
        label.ApplyFont(Look(9, false, Qt::gray));  // a change during hover lasts until the pointer leaves
        Leave(label);
        QCOMPARE(label.CurrentFont(), own);
    }

    void opensTheAddressOncePerClick_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("doubleClicks");
        const QString web = "https://www.example.org/kestrin/";
        QTest::newRow("click") << web << QStringList{"press 5 5", "release 6 5"} << 1 << 1 << 0;
        QTest::newRow("double click")
            << web << QStringList{"press 5 5", "release 5 5", "double 5 5", "release 5 5"} << 1 << 1 << 1;
        QTest::newRow("two clicks") << web
                                    << QStringList{"press 5 5", "release 5 5", "press 5 5", "release 5 5"}
                                    << 2 << 2 << 0;
        QTest::newRow("dragged off and released outside")
            << web << QStringList{"press 5 5", "release -20 40"} << 0 << 0 << 0;
        QTest::newRow("right button")
            << web << QStringList{"right-press 5 5", "right-release 5 5"} << 0 << 0 << 0;
        QTest::newRow("mail address")
            << "mailto:mail@example.org" << QStringList{"press 5 5", "release 5 5"} << 1 << 1 << 0;
        QTest::newRow("empty address") << "" << QStringList{"press 5 5", "release 5 5"} << 1 << 1 << 0;
    }

    void opensTheAddressOncePerClick() {
        QFETCH(QString, url);
        QFETCH(QStringList, steps);
        QFETCH(int, opened);
        QFETCH(int, clicks);
        QFETCH(int, doubleClicks);
        QWidget form;
        TURLLabel label(&form);
        label.setGeometry(0, 0, 60, 13);
        label.AutoSize = false;
        label.URL = url;
        QList<QUrl> requests;
        label.Opener = [&requests](const QUrl& address) {
            requests << address;
            return false;  // the desktop could not open it: the click still counts
        };
        int clicked = 0;
        int doubled = 0;
        connect(&label, &TURLLabel::Clicked, this, [&] {
            QCOMPARE(requests.size(), clicked + 1);  // the address is on its way before the click is raised
            ++clicked;
        });
        connect(&label, &TURLLabel::DoubleClicked, this, [&] { ++doubled; });

        Play(label, steps);

        QCOMPARE(requests.size(), opened);
        for (const QUrl& request : requests) {
            QCOMPARE(request.toString(), url);
        }
        QCOMPARE(clicked, clicks);
        QCOMPARE(doubled, doubleClicks);
    }
};

QTEST_MAIN(URLLabelTest)

#include "URLLabelTest.moc"
