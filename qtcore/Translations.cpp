// Choosing and installing the translations embedded under :/kestrin/translations
// (cmake/KestrinTranslations.cmake).
#include "qtcore/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace {

const QString Folder = QStringLiteral(":/kestrin/translations");
// The installed translators are the application's children under this name, so that they can be found again.
const QString TranslatorName = QStringLiteral("kestrin-translation");

/// Installs `file`_<language>.qm, or the one of the language without its territory ("de" for "de_AT").
bool Install(QCoreApplication& app, const QString& file, const QString& language) {
    auto* translator = new QTranslator(&app);
    translator->setObjectName(TranslatorName);
    if (!translator->load(file + u'_' + language, Folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace

void InstallTranslations(QCoreApplication& app, const QLocale& locale) {
    for (QString language : locale.uiLanguages()) {
        // uiLanguages() writes "de-AT"; the files are named "kestrin_de.qm".
        language.replace(u'-', u'_');
        if (QLocale(language).language() == QLocale::English) {
            return;
        }
        // Qt's texts only beside Kestrin's own: an English window with German buttons would help nobody.
        if (Install(app, QStringLiteral("kestrin"), language)) {
            Install(app, QStringLiteral("qtbase"), language);
            return;
        }
    }
}

void RemoveTranslations(QCoreApplication& app) {
    // A translator leaves the application's list as it is destroyed.
    qDeleteAll(app.findChildren<QTranslator*>(TranslatorName, Qt::FindDirectChildrenOnly));
}

QStringList TranslatedLanguages() {
    QStringList languages;
    for (const QString& file :
         QDir(Folder).entryList({QStringLiteral("kestrin_*.qm")}, QDir::Files, QDir::Name)) {
        languages << file.section(u'_', 1).section(u'.', 0, 0);
    }
    return languages;
}
