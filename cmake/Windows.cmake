# The Windows edition: how its programs are run under Wine by CTest, and the
# GoogleTest it is tested with (built from Debian's sources, as no MinGW build
# of it is packaged).

enable_language(RC)

# A Wine prefix of the build tree's own, so nothing lands in the user's ~/.wine.
set(TAVOLEN_WINE_PREFIX ${PROJECT_BINARY_DIR}/wineprefix)
set(TAVOLEN_WINE_COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-run ${TAVOLEN_WINE_PREFIX})
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVOLEN_WINE_COMMAND})

if(TAVOLEN_BUILD_TESTS)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# Stripped: the symbols stay in the build tree's object files.
function(tavolen_windows_program target)
  target_link_options(${target} PRIVATE -s)
endfunction()

# Each test program is asked for its tests when CTest runs, under Wine and the
# test run's display, not while building.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
