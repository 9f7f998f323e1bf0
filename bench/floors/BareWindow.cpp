// BareWindow: an empty Qt Widgets window and its event loop, nothing else. What the desktop program's
// start-up, memory and idle wake-ups are set beside: the part of them that Qt and the X server cost.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    // The benchmark finds the window by this title, as it finds the desktop program's by its own.
    window.setWindowTitle("Bare window");
    window.resize(401, 260);  // about the desktop program's size, so both map the same number of pixels
    window.show();
    return QApplication::exec();
}
