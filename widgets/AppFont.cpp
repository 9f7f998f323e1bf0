// Font choice for the fixed-size windows.
#include "widgets/AppFont.h"

#include <QFontDatabase>
#include <QStringList>

QFont KestrinFont() {
    // The designed face first, then faces of about its width, so captions fit their controls; failing
    // all of them, the desktop's own sans-serif face.
    QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    QStringList families;
    families << "MS Sans Serif" << "Microsoft Sans Serif" << "Arial" << "Liberation Sans" << "Arimo" << "Helvetica"
             << "Nimbus Sans" << font.family();
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}
