// Centring a dialog over its main window.
#include "widgets/DialogPlacement.h"

#include <QWidget>
#include <QWindow>

QPoint CentredOver(const QRect& main, const QSize& dialog) {
    // Integer division truncates toward zero, as the halving always has: -3 gives -1, not -2.
    const int left = main.left() + (main.width() - dialog.width()) / 2;
    const int top = main.top() + (main.height() - dialog.height()) / 2;
    // Only the top is held, so a taller dialog keeps its title bar level with the main window's, where the
    // user just saw it; sideways a wider dialog sticks out on both sides.
    return {left, top < main.top() ? main.top() : top};
}

QSize FramedSize(const QWidget& dialog, const QWidget& mainWindow) {
    QMargins frame = dialog.windowHandle() != nullptr ? dialog.windowHandle()->frameMargins() : QMargins();
    if (frame.isNull() && mainWindow.windowHandle() != nullptr) {
        frame = mainWindow.windowHandle()->frameMargins();
    }
    return dialog.size().grownBy(frame);
}

void PlaceOver(QWidget& dialog, const QWidget& mainWindow) {
    dialog.move(CentredOver(mainWindow.frameGeometry(), FramedSize(dialog, mainWindow)));
}
