# SPDX-License-Identifier: GPL-2.0-or-later
# Veldrin.exe: the shared core with the Windows backend, a GUI program with a wide entry point and an
# embedded manifest. Included by the top-level CMakeLists.txt when building for Windows.
add_executable(Veldrin WIN32 src/app/platform_win32.cpp src/app/windows/veldrin.rc)
target_link_libraries(Veldrin PRIVATE veldrin_core shlwapi)
target_compile_options(Veldrin PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -municode>)
target_link_options(Veldrin PRIVATE -municode)
target_include_directories(Veldrin PRIVATE src/app/windows)
target_compile_definitions(Veldrin PRIVATE
  VELDRIN_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} VELDRIN_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  VELDRIN_VERSION_PATCH=${PROJECT_VERSION_PATCH} VELDRIN_VERSION=${PROJECT_VERSION})
target_compile_options(Veldrin PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic>)

if(VELDRIN_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests/support)
  add_subdirectory(tests/windows)
endif()
