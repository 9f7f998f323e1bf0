# SQLite for the Windows cross build (3.40.1 with FTS5, the same as Debian's): the archive beside the
# repository, checked and unpacked into the build folder by scripts/unpack-windows-archive, as an imported
# SQLite::SQLite3 like the one find_package(SQLite3) gives on Linux. sqlite3.dll goes beside the programs.
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/unpack-windows-archive ${CMAKE_BINARY_DIR} sqlite
                OUTPUT_VARIABLE KESTRIN_SQLITE_WINDOWS OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "SQLite for Windows could not be unpacked (see above)")
endif()
add_library(SQLite::SQLite3 SHARED IMPORTED GLOBAL)
set_target_properties(SQLite::SQLite3 PROPERTIES
  IMPORTED_LOCATION ${KESTRIN_SQLITE_WINDOWS}/bin/sqlite3.dll
  IMPORTED_IMPLIB ${KESTRIN_SQLITE_WINDOWS}/lib/libsqlite3.dll.a
  INTERFACE_INCLUDE_DIRECTORIES ${KESTRIN_SQLITE_WINDOWS}/include)
