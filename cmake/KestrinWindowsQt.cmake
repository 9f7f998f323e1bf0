# Qt for the Windows cross build: the archive beside the repository, checked and unpacked into the build
# folder by scripts/unpack-windows-archive. With KESTRIN_UNPACK_QT_WINDOWS off, CMAKE_PREFIX_PATH names a Qt
# for Windows instead (scripts/build-qt-windows makes one from Debian's source).
option(KESTRIN_UNPACK_QT_WINDOWS "Unpack the Qt for Windows archive into the build folder" ON)
if(KESTRIN_UNPACK_QT_WINDOWS)
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/unpack-windows-archive ${CMAKE_BINARY_DIR} qt
                  OUTPUT_VARIABLE KESTRIN_QT_WINDOWS OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Qt for Windows could not be unpacked (see above)")
  endif()
  list(PREPEND CMAKE_PREFIX_PATH ${KESTRIN_QT_WINDOWS})
endif()
