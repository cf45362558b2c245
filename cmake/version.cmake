# The one version number of the three programs and the packages. Programs
# include "ulm5_version.h" (link ulm5_version) for their --version.
set(ULM5_VERSION "1.0.0")
# The day this version was released (the AppStream metadata's release entry).
set(ULM5_RELEASE_DATE "2026-12-08")

configure_file(${CMAKE_CURRENT_LIST_DIR}/ulm5_version.h.in
               ${PROJECT_BINARY_DIR}/generated/ulm5_version.h @ONLY)
add_library(ulm5_version INTERFACE)
target_include_directories(ulm5_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
