// Icons from the resources of a static library, which are registered only when asked for.
#include "widgets/KestrinIcon.h"

#include <QString>

// Outside any namespace: the macro declares the resource's registration function where it stands.
static QString IconFile(int size) {
    static const bool registered = [] {
        Q_INIT_RESOURCE(kestrin);
        return true;
    }();
    return registered ? QStringLiteral(":/kestrin/kestrin-%1.png").arg(size) : QString();
}

QIcon KestrinIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(IconFile(size), QSize(size, size));
    }
    return icon;
}

QPixmap KestrinPixmap(int size) {
    return QPixmap(IconFile(size));
}
