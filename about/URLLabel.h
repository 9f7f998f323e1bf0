// TURLLabel: a label that acts as a link, with a hover look and a click that opens its address. The keyboard
// reaches it too (Tab, then Enter or Space), and a screen reader knows it as a link it can press.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>
#include <functional>

class QEnterEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QUrl;

/// How a label's text looks: face, size and style, and the colour of the text.
struct TLinkFont {
    QFont Font;
    QColor Color;

    bool operator==(const TLinkFont&) const = default;
};

/// Hands an address to the desktop (browser, mail program); what it returns is not looked at.
using TUrlOpener = std::function<bool(const QUrl& url)>;

class TURLLabel : public QLabel {
    Q_OBJECT

public:
    /// A link label on `owner`, the window that holds it.
    explicit TURLLabel(QWidget* owner);

    /// The address a click opens; writing it changes nothing on screen.
    QString URL;
    /// Where a click's request goes: QDesktopServices::openUrl unless replaced (tests put a recorder here).
    TUrlOpener Opener;
    /// Whether the label takes the size of its text again after each change of its look.
    bool AutoSize = true;

    /// The hover look itself: changing it in place changes what the next hover shows.
    TLinkFont& HiFont() { return HoverFont; }
    /// Copies `font` into the hover look; it shows from the next time the pointer comes over the label.
    void SetHiFont(const TLinkFont& font);
    /// The look shown now.
    TLinkFont CurrentFont() const;
    /// Shows `font`; from then on the label no longer follows its parent's font and colour.
    void ApplyFont(const TLinkFont& font);
    /// Opens the address and raises Clicked, as a click does: Enter or Space on the focused label, or a
    /// screen reader's press.
    void Activate();

signals:
    /// A left-button press and release, both on the label; raised after the address was handed on.
    void Clicked();
    void DoubleClicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OpenURL();
    void ShowHover();
    void ShowNormal();

    TLinkFont HoverFont;
    TLinkFont SavedFont;
    bool Hovering = false;
    bool Pressed = false;
};
