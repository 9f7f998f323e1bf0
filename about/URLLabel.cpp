// The link label's hover look, its click and its keys.
#include "about/URLLabel.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QUrl>

#include "about/URLLabelAccessible.h"
#include "widgets/FixedLayout.h"

TURLLabel::TURLLabel(QWidget* owner)
    : QLabel(owner), Opener([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setCursor(Qt::PointingHandCursor);
    // Tab reaches it; a click does not take the focus, so Enter still presses the box's default button after
    // one.
    setFocusPolicy(Qt::TabFocus);
    InstallURLLabelAccessible();
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
        Activate();
    }
}

void TURLLabel::Activate() {
    OpenURL();
    emit Clicked();
}

void TURLLabel::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        event->accept();
        Activate();
        return;
    }
    QLabel::keyPressEvent(event);
}

void TURLLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    // The hover look belongs to the mouse; the keyboard's place is shown the way the style shows it.
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.backgroundColor = palette().color(backgroundRole());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
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
