# Read by cpack for each generator: the installer's file name says what it is.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME lumeno-${CPACK_PACKAGE_VERSION}-win64-setup)
else()
  set(CPACK_PACKAGE_FILE_NAME lumeno-${CPACK_PACKAGE_VERSION}-win64)
endif()
