# Read by cpack for each generator: the setup program's name is the one Windows users expect of a setup
# program; the zip keeps the name it has always had.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "Kestrin-${CPACK_PACKAGE_VERSION}-win64-setup")
endif()
