# The libraries of other authors that the Windows package carries: a notice
# naming each with its licence and where its source is, the licence texts
# (Debian's copies), and for Qt the change and the script it was built with.
# The installer's licence page shows our licence and the notice. Included by
# CMakeLists.txt beside it.

# The source package and version that a package of the build machine was
# built from ("gcc-mingw-w64 12.2.0-14+deb12u1+25.2"), and in OUT_APT as
# apt-get source takes it.
function(ulm5_debian_source package out)
  execute_process(COMMAND dpkg-query -W "-f=\${source:Package} \${source:Version}" ${package}
                  OUTPUT_VARIABLE source COMMAND_ERROR_IS_FATAL ANY)
  set(${out} "${source}" PARENT_SCOPE)
  string(REPLACE " " "=" source "${source}")
  set(${out}_APT "${source}" PARENT_SCOPE)
endfunction()
ulm5_debian_source(gcc-mingw-w64-x86-64-posix-runtime ULM5_GCC_SOURCE)
# That package builds from the GCC source of Debian's gcc-12 package, whose
# version leads the runtime's own ("12.2.0-14+deb12u1+25.2+b1").
execute_process(COMMAND dpkg-query -W "-f=\${Version}" gcc-mingw-w64-x86-64-posix-runtime
                OUTPUT_VARIABLE ULM5_GCC_VERSION COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE "\\+[^+]+(\\+b[0-9]+)?$" "" ULM5_GCC_VERSION "${ULM5_GCC_VERSION}")
string(REGEX MATCH "^[0-9]+" ULM5_GCC_MAJOR "${ULM5_GCC_VERSION}")
set(ULM5_GCC_SOURCE "${ULM5_GCC_SOURCE}, gcc-${ULM5_GCC_MAJOR} ${ULM5_GCC_VERSION}")
set(ULM5_GCC_SOURCE_APT "${ULM5_GCC_SOURCE_APT} gcc-${ULM5_GCC_MAJOR}=${ULM5_GCC_VERSION}")
ulm5_debian_source(mingw-w64-x86-64-dev ULM5_MINGW_SOURCE)
set(ULM5_LICENSES ${CMAKE_CURRENT_BINARY_DIR}/licenses)
file(MAKE_DIRECTORY ${ULM5_LICENSES})
configure_file(/usr/share/common-licenses/GPL-3 ${ULM5_LICENSES}/GPL-3.txt COPYONLY)
configure_file(/usr/share/doc/gcc-mingw-w64-base/copyright
               ${ULM5_LICENSES}/gcc-mingw-w64.copyright COPYONLY)
configure_file(/usr/share/doc/mingw-w64-x86-64-dev/copyright ${ULM5_LICENSES}/mingw-w64.copyright
               COPYONLY)
set(ULM5_QT_NOTICE_RU "")
set(ULM5_QT_NOTICE_EN "")
if(TARGET ulm5-configurator)
  # The Qt of scripts/windows-qt: Debian 12's qt6-base source of this version.
  set(ULM5_QT_VERSION 6.4.2)
  set(ULM5_QT_DEBIAN_VERSION 6.4.2+dfsg-10)
  ulm5_debian_source(qt6-translations-l10n ULM5_QT_TRANSLATIONS_SOURCE)
  configure_file(/usr/share/common-licenses/LGPL-3 ${ULM5_LICENSES}/LGPL-3.txt COPYONLY)
  configure_file(${ULM5_WINDOWS_SOURCES}/qt-no-opengl.patch ${ULM5_LICENSES}/qt-no-opengl.patch
                 COPYONLY)
  configure_file(${PROJECT_SOURCE_DIR}/scripts/windows-qt ${ULM5_LICENSES}/qt-build.sh COPYONLY)
  foreach(language RU EN)
    string(TOLOWER ${language} suffix)
    configure_file(${ULM5_WINDOWS_SOURCES}/qt-notice-${suffix}.txt.in
                   ${CMAKE_CURRENT_BINARY_DIR}/qt-notice-${suffix}.txt @ONLY)
    file(READ ${CMAKE_CURRENT_BINARY_DIR}/qt-notice-${suffix}.txt ULM5_QT_NOTICE_${language})
  endforeach()
endif()
set(ULM5_NOTICES ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
configure_file(${ULM5_WINDOWS_SOURCES}/THIRD-PARTY-NOTICES.txt.in ${ULM5_NOTICES} @ONLY)
install(FILES ${ULM5_NOTICES} DESTINATION . COMPONENT programs)
install(DIRECTORY ${ULM5_LICENSES}/ DESTINATION licenses COMPONENT programs)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE ULM5_LICENSE_TEXT)
file(READ ${ULM5_NOTICES} ULM5_NOTICES_TEXT)
set(ULM5_LICENSE_PAGE ${CMAKE_CURRENT_BINARY_DIR}/license-page.txt)
# With a byte-order mark: NSIS reads a text without one in the ANSI code page.
configure_file(${ULM5_WINDOWS_SOURCES}/license-page.txt.in ${ULM5_LICENSE_PAGE} @ONLY)
