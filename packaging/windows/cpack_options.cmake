# Read by cpack for each generator: the file name says what the package is.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME lumeno-${CPACK_PACKAGE_VERSION}-setup)
else()
  set(CPACK_PACKAGE_FILE_NAME lumeno-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME})
endif()
