# Windows x64 programs from Debian's mingw-w64 (posix threads, for std::thread).
# The command-line programs are linked statically so each .exe runs on its own
# (CMakeLists.txt says which); the windows share Qt's DLLs and their runtime. The libraries mingw has no
# Debian package for (FreeType, giflib, libpng, libjpeg) are built by
# scripts/windows_deps.sh into LUMADOT_WINDOWS_SYSROOT; programs built here
# run under wine64, through scripts/wine_run.sh, wherever CMake runs them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Passed on to the test compilations CMake makes while configuring.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LUMADOT_WINDOWS_SYSROOT LUMADOT_WINDOWS_QT)
if(NOT LUMADOT_WINDOWS_SYSROOT)
  set(LUMADOT_WINDOWS_SYSROOT "${CMAKE_CURRENT_LIST_DIR}/../../build-windows/sysroot")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${LUMADOT_WINDOWS_SYSROOT}")
# The Windows Qt (scripts/windows_qt.sh), for the desktop programs; its tools are the host's.
if(LUMADOT_WINDOWS_QT)
  list(APPEND CMAKE_FIND_ROOT_PATH "${LUMADOT_WINDOWS_QT}")
  list(APPEND CMAKE_PREFIX_PATH "${LUMADOT_WINDOWS_QT}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# mingw's zlib also ships an import library for zlib1.dll, which the zip does not
# carry; the archive is taken instead. (CMAKE_FIND_LIBRARY_SUFFIXES cannot say
# so here: CMake's Windows-GNU platform file sets it again after this file.)
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine_run.sh")

# pkg-config must not hand the cross build this machine's own libraries.
set(ENV{PKG_CONFIG_LIBDIR} "${LUMADOT_WINDOWS_SYSROOT}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
