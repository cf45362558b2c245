# The installer is "...-win64-setup.exe"; the portable zip is "...-win64.zip".
if(CPACK_GENERATOR STREQUAL "ZIP")
  string(REGEX REPLACE "-setup$" "" CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}")
endif()
