# Cross build for Windows x86-64 with MinGW-w64 (Debian's posix thread
# model, which Qt needs), against a Qt built for Windows (tools/build-windows.sh).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=packaging/windows/mingw-w64-x86_64.cmake \
#         -DRILEGORA_WIN_QT=<the Qt for Windows>
# The program's own tools that run at build time (the manual, the icon, the
# initial password) and the tests run under Wine, through tools/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(RILEGORA_WIN_QT "$ENV{RILEGORA_WIN_QT}" CACHE PATH "Qt 6 built for Windows")
if(NOT RILEGORA_WIN_QT)
  message(FATAL_ERROR "Name the Qt for Windows with -DRILEGORA_WIN_QT=<prefix> (tools/build-windows.sh builds one)")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RILEGORA_WIN_QT)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${RILEGORA_WIN_QT})
set(CMAKE_PREFIX_PATH ${RILEGORA_WIN_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# moc, rcc and uic of the host's Qt of the same version.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

get_filename_component(rilegora_root "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${rilegora_root}/tools/wine-run.sh;--qt;${RILEGORA_WIN_QT}")
