// The About box's controls, placed where the layout puts them, with their fonts, colours and texts, and what
// a screen reader says of the ones the keyboard reaches.
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "about/URLLabel.h"
#include "about/uniAbout.h"
#include "widgets/FixedLayout.h"
#include "widgets/KestrinIcon.h"

namespace {

const QString HomePage = QStringLiteral("https://www.example.org/kestrin/");
const QString FirstAddress = QStringLiteral("mail@example.org");
const QString SecondAddress = QStringLiteral("olv@example.org");
const QColor Navy(0, 0, 128);
const QColor Lime(0, 255, 0);

QFont BoldFont(int pixels) {
    QFont font = KestrinFont();
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

// Our texts are wider or narrower than the ones the layout was drawn for; each keeps the middle of its
// designed box, so the block stays balanced under the title.
void CentreOn(QWidget* widget, int designedLeft, int designedWidth) {
    widget->move(designedLeft + (designedWidth - widget->width()) / 2, widget->y());
}

QFrame* Bevel(QWidget* parent, const char* name, QFrame::Shape shape, QRect place) {
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(name);
    bevel->setFrameStyle(shape | QFrame::Sunken);
    bevel->setLineWidth(1);
    bevel->setGeometry(place);
    return bevel;
}

TURLLabel* Link(QWidget* parent, const char* name, const QString& text, const QString& url, int left,
                int top) {
    auto* link = Caption<TURLLabel>(parent, name, text, {left, top});
    link->URL = url;
    link->ApplyFont({KestrinFont(), Navy});
    QFont hover = KestrinFont();
    hover.setUnderline(true);
    link->SetHiFont({hover, Lime});
    link->setAutoFillBackground(true);
    QPalette colours = link->palette();
    colours.setColor(QPalette::Window, parent->palette().color(QPalette::Button));
    link->setPalette(colours);
    return link;
}

}  // namespace

void TAboutBox::BuildControls() {
    setWindowTitle(tr("About Kestrin"));
    setFixedSize(280, 180);
    setFont(KestrinFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    Bevel2 = Bevel(this, "Bevel2", QFrame::Panel, {8, 56, 265, 73});
    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setPixmap(KestrinPixmap(32));
    ProgramIcon->move(16, 12);
    ProgramIcon->adjustSize();
    ProgramIcon->setAccessibleName(tr("Kestrin's icon"));
    Label1 = Caption(this, "Label1", tr("Written by Olvanta"), {65, 30});
    Label1->setFont(BoldFont(13));
    Label1->adjustSize();
    CentreOn(Label1, 65, 163);
    Bevel1 = Bevel(this, "Bevel1", QFrame::HLine, {8, 150, 265, 2});
    Label2 = Caption(this, "Label2", tr("Copyright \u00a9 2026 Olvanta"), {73, 136});
    CentreOn(Label2, 73, 142);
    Label5 = Caption(this, "Label5", tr("Kestrin ver.1.0"), {90, 8});
    Label5->setFont(BoldFont(16));
    Label5->adjustSize();
    CentreOn(Label5, 90, 122);

    URLLabel1 = Link(this, "URLLabel1", HomePage, HomePage, 16, 80);
    URLLabel1->setAccessibleDescription(tr("Opens the home page in the web browser"));
    CentreOn(URLLabel1, 16, 250);
    // The e-mail line keeps "or" and the second address where they were drawn; the first address ends
    // where its designed box ends, so the gaps around "or" stay as drawn whatever the addresses' widths.
    URLLabel2 = Link(this, "URLLabel2", FirstAddress, "mailto:" + FirstAddress, 48, 112);
    URLLabel2->move(48 + 60 - URLLabel2->width(), 112);
    URLLabel3 = Link(this, "URLLabel3", SecondAddress, "mailto:" + SecondAddress, 160, 112);
    for (TURLLabel* mail : {URLLabel2, URLLabel3}) {
        mail->setAccessibleDescription(tr("Writes an e-mail to this address in the mail program"));
    }
    Label7 = Caption(this, "Label7", tr("or"), {128, 112});

    OKButton = Button(this, "OKButton", tr("OK"), {109, 156, 68, 21});
    OKButton->setDefault(true);
    OKButton->setAccessibleDescription(tr("Closes this box"));
    StaticText1 = Caption(this, "StaticText1", tr("Welcome to my home page"), {72, 64});
    StaticText2 = Caption(this, "StaticText2", tr("Send me e-mail"), {96, 96});
    // The focus starts on OK; Tab goes on to the links, in the order they are read.
    setTabOrder(OKButton, URLLabel1);
    setTabOrder(URLLabel1, URLLabel2);
    setTabOrder(URLLabel2, URLLabel3);
    OKButton->setFocus();
    connect(OKButton, &QPushButton::clicked, this, [this] { done(ModalResultCancel); });
}
