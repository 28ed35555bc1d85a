# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers (posix thread model, which
# std::thread needs). VERADUNE_WINDOWS_PREFIXES lists the folders the Windows libraries are
# installed in (scripts/windows-deps.sh prints them); only they and the compiler's own sysroot are
# searched, never the host's /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-ar CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-ranlib CACHE FILEPATH "")

set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VERADUNE_WINDOWS_PREFIXES)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VERADUNE_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The libraries' own package files know how they were built (static libxml2 and curl need
# LIBXML_STATIC and CURL_STATICLIB); CMake's find modules do not.
set(CMAKE_FIND_PACKAGE_PREFER_CONFIG ON)
# pkg-config sees the Windows libraries' files only, never the host's.
set(pkg_config_dirs)
foreach(prefix IN LISTS VERADUNE_WINDOWS_PREFIXES)
  list(APPEND pkg_config_dirs ${prefix}/lib/pkgconfig)
endforeach()
string(REPLACE ";" ":" pkg_config_dirs "${pkg_config_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${pkg_config_dirs}")

# Test executables run under Wine, so that ctest works on the build machine.
find_program(VERADUNE_WINE wine)
if(VERADUNE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VERADUNE_WINE})
endif()
