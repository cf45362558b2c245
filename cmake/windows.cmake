# Windows builds (mingw-w64): the API headers without their min/max macros,
# and the C library's POSIX time functions (localtime_r) that mingw-w64
# offers on request.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _POSIX_THREAD_SAFE_FUNCTIONS=200112L)
# g++ 12 with mingw-w64's library, at -O2, reports code of the library it
# inlined into ours: std::string's operator+ as an overlapping copy, a
# string built from a range as a null dereference. Both are false reports.
add_compile_options(-Wno-restrict -Wno-null-dereference)
# The programs' resources (icon, version information, manifest) are compiled
# by windres.
enable_language(RC)
