# Tests are Windows programs: ctest runs them (and lists their cases at test
# time) through tools/wine-run.sh, in the Wine prefix named here; by default
# the build's own, and one for both trees when tools/build.sh configures them.
set(VSTORM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix the tests run in")
set(CMAKE_CROSSCOMPILING_EMULATOR
  ${PROJECT_SOURCE_DIR}/tools/wine-run.sh --prefix ${VSTORM_WINEPREFIX})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

include(GoogleTest)

# Every test program with what it needs, and no benchmark or demo: what
# Debug trees are built for (tools/build.sh debug).
add_custom_target(test_programs)
