# The Windows build: cross-compiled with cmake/mingw-w64.cmake, every program
# and library linked statically (the .exe and .dll files need nothing beside
# them), tests run under wine in a prefix of this build folder's own.

add_link_options(-static)
# Windows 10 is the oldest system the program is for.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00)

# GoogleTest is not packaged for mingw: built here from Debian's sources with
# the same toolchain, only what the tests link.
set(VARNOK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources, built for Windows")
if(NOT EXISTS ${VARNOK_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${VARNOK_GTEST_SOURCE} (Debian package googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VARNOK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# wine-run: runs one program of this build under wine. CTest puts it in front
# of every test program; scripts and tests that start Windows programs of
# their own use it too.
find_program(VARNOK_WINE_LOADER NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VARNOK_WINE_LOADER NAMES wine64 wine)
if(NOT VARNOK_WINE_LOADER)
  set(VARNOK_WINE_LOADER wine)
endif()
find_program(VARNOK_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VARNOK_WINESERVER NAMES wineserver)
if(NOT VARNOK_WINESERVER)
  set(VARNOK_WINESERVER wineserver)
endif()
set(VARNOK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VARNOK_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${VARNOK_WINE_RUN} @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VARNOK_WINE_RUN})

# Icon, version information and manifest of the programs.
include(${CMAKE_CURRENT_LIST_DIR}/WindowsResources.cmake)
