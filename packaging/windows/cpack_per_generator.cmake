# The installer is "...-win64-setup.exe"; the portable zip is "...-win64.zip"
# and unpacks into a folder of its own.
if(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  string(REGEX REPLACE "-setup$" "" CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}")
endif()
