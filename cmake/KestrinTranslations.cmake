# The programs' texts in other languages: translations/kestrin_<language>.ts, written with Qt Linguist, made
# into .qm files by lrelease and embedded in the programs together with Qt's own translations of its dialog
# buttons and command-line help, so that an uninstalled build and the Windows zip find them all.
#
# lrelease and lupdate run on the build computer. A cross build's Qt (the Windows one) brings no Linguist tools:
# Qt's package looks for its *Tools components in QT_HOST_PATH, here Debian's qt6-l10n-tools.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

# The languages Kestrin speaks besides English, the language its texts are written in.
set(KESTRIN_LANGUAGES ru de)
# The folders whose texts are translated: everything a user of either program reads.
set(KESTRIN_TRANSLATED_FOLDERS about app cli options qtcore settings startup widgets)

set(KESTRIN_TS_FILES "")
foreach(language IN LISTS KESTRIN_LANGUAGES)
  list(APPEND KESTRIN_TS_FILES "${PROJECT_SOURCE_DIR}/translations/kestrin_${language}.ts")
endforeach()

# Qt's own translations are architecture-independent files: Debian's (qt6-translations-l10n) serve the Windows
# build too, whose Qt has none.
find_path(KESTRIN_QT_TRANSLATIONS qtbase_ru.qm
          HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}" "${QT_HOST_PATH}/share/qt6/translations"
          PATHS /usr/share/qt6/translations
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# Brings every source text of the translated folders into the .ts files (new ones unfinished, those no
# longer used removed), for a translator to finish in Qt Linguist:
#   cmake --build <build folder> --target kestrin_update_translations
add_custom_target(kestrin_update_translations
  COMMAND Qt6::lupdate -I "${PROJECT_SOURCE_DIR}" -locations none -no-obsolete ${KESTRIN_TRANSLATED_FOLDERS}
          -ts ${KESTRIN_TS_FILES}
  WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
  COMMENT "Updating translations/*.ts from the sources"
  VERBATIM)

# kestrin_embed_translations(<target>): the .qm files of Kestrin's languages and Qt's, as resources of <target>
# under :/kestrin/translations, where InstallTranslations (qtcore/Translations.h) looks for them.
function(kestrin_embed_translations target)
  qt_add_lrelease(${target} TS_FILES ${KESTRIN_TS_FILES} OPTIONS -silent QM_FILES_OUTPUT_VARIABLE kestrin_qm)
  qt_add_resources(${target} kestrin_translations PREFIX /kestrin/translations BASE "${CMAKE_CURRENT_BINARY_DIR}"
                   FILES ${kestrin_qm})
  set(qt_qm "")
  foreach(language IN LISTS KESTRIN_LANGUAGES)
    list(APPEND qt_qm "${KESTRIN_QT_TRANSLATIONS}/qtbase_${language}.qm")
  endforeach()
  qt_add_resources(${target} kestrin_qt_translations PREFIX /kestrin/translations BASE "${KESTRIN_QT_TRANSLATIONS}"
                   FILES ${qt_qm})
endfunction()
