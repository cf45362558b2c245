# Windows builds (mingw-w64): the API headers without their min/max macros,
# and the C library's POSIX time functions (localtime_r) that mingw-w64
# offers on request.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _POSIX_THREAD_SAFE_FUNCTIONS=200112L)
