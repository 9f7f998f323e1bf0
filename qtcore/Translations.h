// The programs' texts in the user's language: Kestrin's own translations and Qt's, embedded in the program.
#pragma once

#include <QLocale>
#include <QStringList>

class QCoreApplication;

/// Installs the translations for the first of `locale`'s interface languages that Kestrin has them for: its
/// own texts and Qt's (dialog buttons, the command line's help). The user's locale is QLocale::system():
/// LANGUAGE, LC_ALL, LC_MESSAGES and LANG on Linux, the user's display language on Windows. English, the
/// language the texts are written in, installs none, and so does a language without translations, so that
/// every text stays as written; so does English listed before another language.
void InstallTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

/// Takes out what InstallTranslations installed: texts made from then on are the English ones.
void RemoveTranslations(QCoreApplication& app);

/// The languages Kestrin has its own translations for ("de", "ru"), besides English.
QStringList TranslatedLanguages();
