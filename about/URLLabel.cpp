// The link label's hover look and its click.
#include "about/URLLabel.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QUrl>

#include "widgets/FixedLayout.h"

TURLLabel::TURLLabel(QWidget* owner)
    : QLabel(owner), Opener([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setCursor(Qt::PointingHandCursor);
    // Addresses are shown as they are written, never read as markup.
    setTextFormat(Qt::PlainText);
    const TLinkFont standard{KestrinFont(), palette().color(foregroundRole())};
    HoverFont = standard;
    SavedFont = standard;
    HoverFont.Font.setUnderline(true);
    HoverFont.Color = QColor(0, 0, 128);
}

void TURLLabel::SetHiFont(const TLinkFont& font) {
    HoverFont = font;
    update();
}

TLinkFont TURLLabel::CurrentFont() const {
    return {font(), palette().color(foregroundRole())};
}

void TURLLabel::ApplyFont(const TLinkFont& font) {
    setFont(font.Font);
    QPalette colours = palette();
    colours.setColor(foregroundRole(), font.Color);
    setPalette(colours);
    if (AutoSize) {
        adjustSize();
    }
}

void TURLLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    ShowHover();
}

void TURLLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    ShowNormal();
}

void TURLLabel::mouseMoveEvent(QMouseEvent* event) {
    // While a button is held the label has the mouse, and Qt holds the leave (and a new enter) back until
    // the release; the pointer's moves still come here, so the look follows them.
    if (rect().contains(event->position().toPoint())) {
        ShowHover();
    } else {
        ShowNormal();
    }
    event->accept();
}

void TURLLabel::ShowHover() {
    // A second enter without a leave between must not save the hover look as the normal one.
    if (Hovering) {
        return;
    }
    Hovering = true;
    SavedFont = CurrentFont();
    ApplyFont(HoverFont);
    repaint();
}

void TURLLabel::ShowNormal() {
    // A leave without an enter happens when the pointer came over the label while another widget held the
    // mouse: nothing was saved then, so there is nothing to put back.
    if (!Hovering) {
        return;
    }
    Hovering = false;
    ApplyFont(SavedFont);
    repaint();
}

void TURLLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Pressed = true;
    }
    // Accepted, so the release comes back here even when the pointer has left the label meanwhile.
    event->accept();
}

void TURLLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const bool click = Pressed && rect().contains(event->position().toPoint());
    Pressed = false;
    event->accept();
    if (click) {
        OpenURL();
        emit Clicked();
    }
}

void TURLLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // Not a press: the release that follows a double click is no second click.
    event->accept();
    if (event->button() == Qt::LeftButton) {
        emit DoubleClicked();
    }
}

void TURLLabel::OpenURL() {
    if (Opener) {
        Opener(QUrl(URL));
    }
}
