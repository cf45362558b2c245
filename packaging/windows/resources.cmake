# The product's identity and the resources of the Windows programs: icon,
# version information, manifest. Included by CMakeLists.txt beside it.

# The one name users see: the window's title, the shortcut, the Apps entry,
# the programs' version information.
set(ULM5_PRODUCT_NAME "Конфигуратор ULM5")
set(ULM5_COMPANY "The ULM5 configurator authors")
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE ULM5_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
string(REPLACE "." "," ULM5_VERSION_COMMAS "${ULM5_VERSION},0")

# The icon of the programs and the installer: the Linux SVG rendered at the
# sizes Windows shows, 256 pixels kept as PNG inside the icon as Windows
# expects. Made when CMake runs, and again when the SVG changes.
find_program(ULM5_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ULM5_ICOTOOL icotool REQUIRED)
set(ULM5_ICON_SOURCE ${PROJECT_SOURCE_DIR}/packaging/ulm5-configurator.svg)
set(ULM5_ICON ${CMAKE_CURRENT_BINARY_DIR}/ulm5-configurator.ico)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ULM5_ICON_SOURCE})
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/icon)
set(ULM5_ICON_IMAGES)
foreach(size 16 20 24 32 40 48 64 256)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icon/${size}.png)
  execute_process(COMMAND ${ULM5_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${ULM5_ICON_SOURCE}
                  COMMAND_ERROR_IS_FATAL ANY)
  if(size EQUAL 256)
    list(APPEND ULM5_ICON_IMAGES -r ${png})
  else()
    list(APPEND ULM5_ICON_IMAGES ${png})
  endif()
endforeach()
execute_process(COMMAND ${ULM5_ICOTOOL} -c -o ${ULM5_ICON} ${ULM5_ICON_IMAGES}
                COMMAND_ERROR_IS_FATAL ANY)
set(ULM5_MANIFEST ${ULM5_WINDOWS_SOURCES}/ulm5.manifest)

# Icon, version information and manifest of one program.
function(ulm5_windows_resources target description)
  set(ULM5_RC_TARGET ${target})
  set(ULM5_RC_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${ULM5_WINDOWS_SOURCES}/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
                              OBJECT_DEPENDS "${ULM5_ICON};${ULM5_MANIFEST}")
endfunction()
ulm5_windows_resources(ulm5-cli "${ULM5_PRODUCT_NAME}: командная строка")
if(TARGET ulm5-configurator)
  ulm5_windows_resources(ulm5-configurator "${ULM5_PRODUCT_NAME}")
endif()
