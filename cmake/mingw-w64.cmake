# Cross-build for 64-bit Windows with Debian's mingw-w64 (the posix thread
# model: std::thread and std::mutex need it).
#
# Libraries built for Windows outside the tree (GoogleTest, the staged
# header-only packages, Qt) are found through CMAKE_FIND_ROOT_PATH: pass
# their prefixes with -DCMAKE_FIND_ROOT_PATH=...; the compiler's own root is
# added here. Programs (moc, rcc, uic) come from the build machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ULM5_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ULM5_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ULM5_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ULM5_MINGW_TRIPLE}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ULM5_MINGW_TRIPLE})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and tools run under Wine on the build machine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine CACHE FILEPATH "Runs the Windows programs of the build")
# Test discovery runs a test program: under Wine at test time, never at build
# time.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
