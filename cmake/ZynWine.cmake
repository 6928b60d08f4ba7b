# Runs the Windows test programs under 64-bit Wine: a private prefix under the
# build directory, the null graphics driver (windows without a display), and the
# MinGW runtime DLLs on WINEPATH so tests and zyn.dll share one C++ runtime.
find_program(ZYN_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib/wine64 NO_CMAKE_FIND_ROOT_PATH)
find_program(ZYN_WINESERVER NAMES wineserver PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZYN_WINE64)
  message(WARNING "wine64 not found: Windows tests will not run")
  return()
endif()

execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
  OUTPUT_VARIABLE _stdcxx_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(ZYN_MINGW_GCC_DLL_DIR "${_stdcxx_dll}" DIRECTORY)
set(ZYN_MINGW_SYSROOT_DLL_DIR /usr/${ZYN_MINGW_TRIPLE}/lib)

set(ZYN_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ZYN_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${ZYN_WINE_RUN} @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZYN_WINE_RUN})

# One test that makes the prefix; every Windows test requires it as a fixture.
add_test(NAME wine_prefix COMMAND ${ZYN_WINE_RUN} --prepare)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
