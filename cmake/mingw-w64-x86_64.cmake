# SPDX-License-Identifier: GPL-2.0-or-later
# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the posix-threads variant), linking
# everything statically so that Veldrin.exe needs no DLL beyond those of Windows itself. liblzo2 comes
# from VELDRIN_LZO2_PREFIX (tools/build-windows-lzo2 builds it there); programs built here run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELDRIN_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELDRIN_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELDRIN_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VELDRIN_MINGW}-windres)

if(NOT VELDRIN_LZO2_PREFIX)
  set(VELDRIN_LZO2_PREFIX ${CMAKE_BINARY_DIR}/lzo2/prefix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELDRIN_LZO2_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${VELDRIN_MINGW} ${VELDRIN_LZO2_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees only the cross-built liblzo2. Its lzo2.pc points into include/lzo, while the sources
# include <lzo/lzo1x.h>, so the prefix's include folder is searched as well.
set(ENV{PKG_CONFIG_LIBDIR} ${VELDRIN_LZO2_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${VELDRIN_LZO2_PREFIX}/include)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs and build-time tools run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run)
